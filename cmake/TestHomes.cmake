# A test that is no gtest binary (a script, a fuzz target, the generator) gets a home of its own from
# ctest: HOME and the XDG data, config, cache and state folders under <build>/test-homes/<test>, so
# neither it nor anything it starts writes into the user's folders. The gtest binaries make a fresh
# one in their main. kestrova_own_test_homes() covers every test added so far in the calling folder.
function(kestrova_own_test_homes)
    get_property(tests DIRECTORY PROPERTY TESTS)
    foreach(test IN LISTS tests)
        set(home ${CMAKE_BINARY_DIR}/test-homes/${test})
        file(MAKE_DIRECTORY ${home})
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
            HOME=${home}
            XDG_DATA_HOME=${home}/.local/share
            XDG_CONFIG_HOME=${home}/.config
            XDG_CACHE_HOME=${home}/.cache
            XDG_STATE_HOME=${home}/.local/state)
    endforeach()
endfunction()
