# kestrova_warnings(<target>): our own targets build with these warnings.
function(kestrova_warnings target)
    # RapidJSON's iterators trip clang's C++20 reversed-operator warning inside its own headers.
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
        $<$<CXX_COMPILER_ID:Clang>:-Wno-ambiguous-reversed-operator>
        -Wnon-virtual-dtor -Woverloaded-virtual -Wno-unused-parameter)
    if(KESTROVA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(KESTROVA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "KESTROVA_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    set(KESTROVA_SANITIZE ON)
    # Coverage for libFuzzer in every object; only the fuzz targets link libFuzzer itself, the
    # others take the coverage hooks' defaults from the sanitizer runtime.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
if(KESTROVA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
