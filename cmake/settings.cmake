# Every compiler- and linker-specific setting of the project lives in this file.

set(SEVEN_SANITIZE "" CACHE STRING "Sanitizers for native builds, e.g. address;undefined or thread")

if(MSVC)
    # x86 MSVC computes doubles with SSE2 by default (/arch:SSE2); state it anyway.
    add_compile_options(/W4 /utf-8 /D_CRT_SECURE_NO_WARNINGS)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        add_compile_options(/arch:SSE2)
    endif()
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
else()
    add_compile_options(-Wall -Wextra -ffp-contract=off)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86|i[3-6]86)$")
        # IEEE double on every target: never the x87 unit's extended precision.
        add_compile_options(-msse2 -mfpmath=sse)
    endif()
    if(MINGW)
        # Each .exe runs on its own: no MinGW runtime DLLs beside it.
        add_link_options(-static -static-libgcc -static-libstdc++)
    endif()
    if(SEVEN_SANITIZE)
        list(JOIN SEVEN_SANITIZE "," _seven_sanitizers)
        add_compile_options(-fsanitize=${_seven_sanitizers} -fno-sanitize-recover=all
                            -fno-omit-frame-pointer)
        add_link_options(-fsanitize=${_seven_sanitizers})
    endif()
endif()

# seven_program(<target> [GUI] [STACK_RESERVE <bytes>] [STACK_COMMIT <bytes>])
# The per-program Windows link settings: subsystem and default stack of every thread.
# They only shape the Windows executable; a Linux build ignores them.
function(seven_program target)
    cmake_parse_arguments(ARG "GUI" "STACK_RESERVE;STACK_COMMIT" "" ${ARGN})
    if(NOT WIN32)
        return()
    endif()
    if(ARG_GUI)
        set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    endif()
    if(ARG_STACK_RESERVE)
        set(stack ${ARG_STACK_RESERVE})
        if(ARG_STACK_COMMIT)
            string(APPEND stack ",${ARG_STACK_COMMIT}")
        endif()
        if(MSVC)
            target_link_options(${target} PRIVATE "/STACK:${stack}")
        else()
            # One linker argument "reserve,commit": -Wl, would split it at the comma.
            target_link_options(${target} PRIVATE "SHELL:-Xlinker --stack -Xlinker ${stack}")
        endif()
    endif()
endfunction()
