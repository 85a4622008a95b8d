cmake_minimum_required(VERSION 3.20)
# Fails the build when setup.exe outgrows its budget or imports a function
# that the lists in cmake/imports/ lack: each list holds the functions of
# one DLL that Windows 95 and NT 4.0 both export. At start-up only KERNEL32
# and ADVAPI32 may be imported (no C runtime DLL, which Windows 95 lacks);
# USER32 and GDI32 are loaded on first use through stubs made from their
# lists, so nothing outside those lists can be called there. The header
# must name Windows 4.0 as the least system and subsystem: a newer number
# keeps Windows 95 and NT 4 from loading the program.
# 27 KB: the launcher carries each language's texts to the NT family as
# Unicode itself (its own reader of language files, the wide calls looked
# up at run time, the dialog's font in the texts' character set), which
# took it past the 24 KB it had; the most allowed is 28 KB.
set(BUDGET 27648)
set(STARTUP_DLLS kernel32 advapi32)

file(SIZE "${EXE}" size)
if(size GREATER BUDGET)
    message(FATAL_ERROR "${EXE} is ${size} bytes, over the budget of ${BUDGET}")
endif()

execute_process(COMMAND ${OBJDUMP} -p "${EXE}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot read the imports of ${EXE}")
endif()

# The names a list allows, without their stdcall decorations.
function(read_allowed dll out)
    file(STRINGS "${IMPORTS_DIR}/${dll}.def" lines)
    set(names)
    foreach(line IN LISTS lines)
        if(line MATCHES "^[A-Za-z_][A-Za-z0-9_]*(@[0-9]+)?$")
            string(REGEX REPLACE "@[0-9]+$" "" name "${line}")
            list(APPEND names "${name}")
        endif()
    endforeach()
    set(${out} "${names}" PARENT_SCOPE)
endfunction()

set(failures)
foreach(field OSystem Subsystem)
    foreach(part Major:4 Minor:0)
        string(REPLACE ":" ";" part ${part})
        list(GET part 0 name)
        list(GET part 1 wanted)
        if(NOT dump MATCHES "\n${name}${field}Version\t+([0-9]+)\n")
            list(APPEND failures "names no ${name}${field}Version in its header")
        elseif(NOT CMAKE_MATCH_1 EQUAL wanted)
            list(APPEND failures "has ${name}${field}Version ${CMAKE_MATCH_1} in its header, not ${wanted}")
        endif()
    endforeach()
endforeach()

string(REPLACE "\n" ";" lines "${dump}")
set(dll "")
foreach(line IN LISTS lines)
    if(line MATCHES "DLL Name: (.+)$")
        string(STRIP "${CMAKE_MATCH_1}" name)
        string(TOLOWER "${name}" name)
        string(REGEX REPLACE "\\.dll$" "" dll "${name}")
        if(NOT dll IN_LIST STARTUP_DLLS)
            list(APPEND failures "imports ${name} at start-up: only KERNEL32 and ADVAPI32 may be")
            set(dll "")
        else()
            read_allowed(${dll} allowed)
        endif()
    elseif(dll AND line MATCHES "^\t[0-9a-f]+\t +[0-9]+ +([^ ]+)$")
        if(NOT CMAKE_MATCH_1 IN_LIST allowed)
            list(APPEND failures "imports ${CMAKE_MATCH_1} from ${dll}.dll, which cmake/imports/${dll}.def lacks")
        endif()
    elseif(dll AND line MATCHES "^\t[0-9a-f]+\t +[0-9]+ *$")
        list(APPEND failures "imports a function of ${dll}.dll by ordinal")
    elseif(line MATCHES "^$|^The |^PE File")
        set(dll "")
    endif()
endforeach()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${EXE}:\n  ${text}")
endif()
