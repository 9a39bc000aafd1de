# The Debian package that holds the library the system's loader finds under a
# soname, as the release this is built on names it (libcups2 on Debian 12,
# libcups2t64 on Debian 13). Leaves the fallback where ldconfig or dpkg cannot tell.
#   scriblet_debian_package_of(<soname> <fallback> <variable>)
function(scriblet_debian_package_of soname fallback variable)
    set(package ${fallback})
    find_program(SCRIBLET_LDCONFIG ldconfig PATHS /usr/sbin /sbin)
    find_program(SCRIBLET_DPKG_QUERY dpkg-query)
    if(SCRIBLET_LDCONFIG AND SCRIBLET_DPKG_QUERY)
        execute_process(COMMAND ${SCRIBLET_LDCONFIG} -p OUTPUT_VARIABLE cache ERROR_QUIET)
        string(REPLACE "." "\\." pattern ${soname})
        # Only this build's architecture: ldconfig also lists 32-bit copies.
        string(REGEX MATCH "[ \t]${pattern} \\([^)]*\\) => ([^\n]*/${CMAKE_LIBRARY_ARCHITECTURE}/[^\n]*)" found "${cache}")
        if(found)
            file(REAL_PATH ${CMAKE_MATCH_1} path)
            execute_process(COMMAND ${SCRIBLET_DPKG_QUERY} -S ${path} OUTPUT_VARIABLE owner
                            ERROR_QUIET RESULT_VARIABLE status)
            if(status EQUAL 0 AND owner MATCHES "^([^:,]+)")
                set(package ${CMAKE_MATCH_1})
            endif()
        endif()
    endif()
    message(STATUS "${soname} is in the package ${package}")
    set(${variable} ${package} PARENT_SCOPE)
endfunction()
