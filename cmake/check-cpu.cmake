cmake_minimum_required(VERSION 3.20)
# Fails the build when setup.exe holds an instruction that the 80386, the
# least processor Windows 95 runs on, lacks, or any floating-point
# instruction (a 386 or 486SX may have no FPU). Each one is named with its
# address and the function and object file it lies in, read from the
# link's map (MAP), since the program itself is stripped.
#
# The instructions allowed are listed, not those refused: a list of what
# the 386 has stays right whatever a newer compiler or library brings
# (CMOV, FCOMI, multi-byte NOP, BSWAP, XADD, CMPXCHG, RDTSC, CPUID, ENDBR32,
# every MMX and SSE instruction: none is in the list). The mnemonics are
# those of Intel's syntax, as in the processor's manual, without AT&T's
# size suffixes. The x87 instructions and WAIT are left out, and so is a
# NOP with operands (the multi-byte NOP of the Pentium Pro). The string
# instructions are listed in their bare form only: the disassembler shows
# no other, and "movsd" and "cmpsd" are SSE2 instructions too.
set(I386_INSTRUCTIONS
    aaa aad aam aas adc add and arpl bound bsf bsr bt btc btr bts call cbw cdq clc cld cli clts
    cmc cmp cmps cwd cwde daa das dec div enter hlt idiv imul in inc ins int int3 into iret iretd
    ja jae jb jbe jcxz je jecxz jg jge jl jle jmp jne jno jnp jns jo jp js
    lahf lar lds lea leave les lfs lgdt lgs lidt lldt lmsw lods loop loope loopne lsl lss ltr
    mov movs movsx movzx mul neg nop not or out outs pop popa popad popf popfd
    push pusha pushad pushf pushfd rcl rcr ret retf rol ror sahf sar sbb scas
    seta setae setb setbe sete setg setge setl setle setne setno setnp setns seto setp sets
    sgdt shl shld shr shrd sidt sldt smsw stc std sti stos str sub test verr verw xchg xlat xor)
set(I386_PREFIXES rep repz repnz lock)

# The code ends where the linker puts the constructor and destructor
# lists, which are data; the map says where, and names the functions. The
# delay-load descriptors of the import libraries' head objects (.text$2)
# are data inside the code: they are left out of the disassembly.
file(STRINGS "${MAP}" map_lines)
set(in_text FALSE)
set(code_end "")
set(places)  # address;label pairs, in address order
set(data_ranges)  # start;end pairs
set(object "")
foreach(line IN LISTS map_lines)
    if(line MATCHES "^\\.text ")
        set(in_text TRUE)
    elseif(line MATCHES "^\\.")
        set(in_text FALSE)
    elseif(NOT in_text)
    elseif(line MATCHES "^ +0x([0-9a-f]+) +___CTOR_LIST__ = \\.")
        set(code_end ${CMAKE_MATCH_1})
    elseif(line MATCHES "^ ([^ ]+)? +0x([0-9a-f]+) +0x([0-9a-f]+) (.+)$")
        set(section "${CMAKE_MATCH_1}")
        set(start ${CMAKE_MATCH_2})
        set(size ${CMAKE_MATCH_3})
        string(REGEX REPLACE "^.*/" "" object "${CMAKE_MATCH_4}")
        if(section STREQUAL ".text$2" AND object MATCHES "_h\\.o\\)$")
            math(EXPR data_end "0x${start} + 0x${size}" OUTPUT_FORMAT HEXADECIMAL)
            list(APPEND data_ranges 0x${start} ${data_end})
        endif()
        if(NOT size STREQUAL "0")
            list(APPEND places ${start} "${object}")
        endif()
    elseif(line MATCHES "^                0x([0-9a-f]+)                ([^ ].*)$")
        string(REPLACE ";" "," name "${CMAKE_MATCH_2}")
        list(APPEND places ${CMAKE_MATCH_1} "${name} (${object})")
    endif()
endforeach()
if(NOT code_end)
    message(FATAL_ERROR "${MAP} names no ___CTOR_LIST__ in .text: cannot tell where the code of ${EXE} ends")
endif()

# The code in pieces, around the data.
set(pieces 0)
foreach(bound IN LISTS data_ranges)
    list(APPEND pieces ${bound})
endforeach()
list(APPEND pieces 0x${code_end})
set(dump "")
list(LENGTH pieces n)
set(i 0)
while(i LESS n)
    list(GET pieces ${i} from)
    math(EXPR j "${i} + 1")
    list(GET pieces ${j} to)
    math(EXPR i "${i} + 2")
    math(EXPR length "${to} - ${from}")
    if(length LESS_EQUAL 0)
        continue()
    endif()
    execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn -M intel --start-address=${from} --stop-address=${to} "${EXE}"
                    OUTPUT_VARIABLE piece RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cannot disassemble ${EXE}")
    endif()
    string(APPEND dump "${piece}")
endwhile()

# Where an address lies: the last place of the map at or before it.
function(describe_place address out)
    math(EXPR wanted "0x${address}")
    set(label "")
    list(LENGTH places n)
    set(i 0)
    while(i LESS n)
        list(GET places ${i} start)
        math(EXPR start "0x${start}")
        if(start GREATER wanted)
            break()
        endif()
        math(EXPR j "${i} + 1")
        list(GET places ${j} label)
        math(EXPR i "${i} + 2")
    endwhile()
    set(${out} "${label}" PARENT_SCOPE)
endfunction()

string(REGEX MATCHALL "\n +[0-9a-f]+:\t[^\n]*" instructions "${dump}")
set(failures)
foreach(line IN LISTS instructions)
    string(REGEX MATCH "^\n +([0-9a-f]+):\t(.*)$" _ "${line}")
    set(address ${CMAKE_MATCH_1})
    string(STRIP "${CMAKE_MATCH_2}" text)
    string(REGEX REPLACE "  +" " " text "${text}")
    string(REGEX MATCH "^[^ ]+" mnemonic "${text}")
    if(mnemonic IN_LIST I386_PREFIXES AND text MATCHES "^[^ ]+ +([^ ]+)")
        set(mnemonic ${CMAKE_MATCH_1})
    endif()
    if(mnemonic IN_LIST I386_INSTRUCTIONS AND NOT text MATCHES "^nop .")
        continue()
    endif()
    describe_place(${address} place)
    list(APPEND failures "${text} at 0x${address} in ${place}")
endforeach()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${EXE} holds instructions that the 80386 lacks or that need a floating-point unit:\n  ${text}")
endif()
