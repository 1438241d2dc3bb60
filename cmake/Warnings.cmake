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

if(KESTROVA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
