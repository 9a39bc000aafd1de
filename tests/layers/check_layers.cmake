# Fails when a source file includes a header from a folder above its own.
# Folders from the ground up; a folder may include its own headers and those
# of the folders listed before it.
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
    set(${out} ${rank} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
    layer_of("${source}" own)
    if(own EQUAL -1)
        string(APPEND faults "${source}: not in any layer folder\n")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
        layer_of("${header}" included)
        if(included EQUAL -1)
            string(APPEND faults "${source}: includes ${header}, which is in no layer folder\n")
        elseif(included GREATER own)
            list(GET layers ${own} from)
            list(GET layers ${included} to)
            string(APPEND faults "${source}: includes ${header}, but ${to} lies above ${from}\n")
        endif()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes that point upward:\n${faults}")
endif()
list(LENGTH sources count)
message(STATUS "${count} source files, every include points down or sideways within its folder")
