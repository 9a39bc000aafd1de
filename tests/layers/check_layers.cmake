# Fails when a source file includes a header from a folder above its own.
# Folders from the ground up; a folder may include its own headers and those
# of the folders listed before it.
#   -DSOURCE_DIR=dir  the tree to check (src, or tests, which mirrors it)
#   -DSUPPORT=folder  a folder on the ground floor beside the platform (the
#                     tests' doubles of it), which every test may use
#   -DSKIP=folder     a folder left out (the planted sample of the check's own test)
set(layers
    platform
    settings
    subsystems/documents
    subsystems/editing
    subsystems/options
    subsystems/tools
    window
)

function(layer_of path out)
    set(rank -1)
    set(index 0)
    foreach(layer IN LISTS layers)
        string(LENGTH "${layer}/" length)
        string(SUBSTRING "${path}" 0 ${length} prefix)
        if(prefix STREQUAL "${layer}/")
            set(rank ${index})
        endif()
        math(EXPR index "${index} + 1")
    endforeach()
    if(SUPPORT AND path MATCHES "^${SUPPORT}/")
        set(rank 0)
    endif()
    set(${out} ${rank} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
if(SKIP)
    list(FILTER sources EXCLUDE REGEX "^${SKIP}/")
endif()
set(faults "")
foreach(source IN LISTS sources)
    layer_of("${source}" own)
    if(own EQUAL -1)
        string(APPEND faults "${source}: not in any layer folder\n")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
        string(REGEX MATCH "include[ \t]*<" angled "${line}")
        layer_of("${header}" included)
        if(header MATCHES "\\.moc$")
            # Made by moc in the build tree.
        elseif(header MATCHES "(^|/)\\.\\.(/|$)")
            string(APPEND faults "${source}: includes ${header}, but headers are named from the source root, without ..\n")
        elseif(included EQUAL -1)
            # <...> outside the layer folders is a system or Qt header.
            if(NOT angled)
                string(APPEND faults "${source}: includes ${header}, which is in no layer folder\n")
            endif()
        elseif(included GREATER own)
            list(GET layers ${own} from)
            list(GET layers ${included} to)
            string(APPEND faults "${source}: includes ${header}, but ${to} lies above ${from}\n")
        endif()
    endforeach()
endforeach()

if(faults)
    string(REPLACE "\n" ";" lines "${faults}")
    foreach(line IN LISTS lines)
        if(line)
            message(STATUS "upward: ${line}")
        endif()
    endforeach()
    message(FATAL_ERROR "Some includes point upward (listed above).")
endif()
list(LENGTH sources count)
message(STATUS "${count} source files, every include points down or sideways within its folder")
