# Runs vkdtool as a user would and checks its exit codes and the byte-for-byte round
# trip of the sample document.
function(expect_exit code)
    execute_process(COMMAND ${VKDTOOL} ${ARGN} RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT result EQUAL code)
        message(FATAL_ERROR "vkdtool ${ARGN}: exit ${result}, expected ${code}: ${err}")
    endif()
endfunction()

expect_exit(0 info ${SAMPLE})
expect_exit(0 info --json ${SAMPLE})
expect_exit(1 info ${WORK}/no-such-file.vkd)
expect_exit(1 info --json ${NOT_A_DOCUMENT})
expect_exit(2)
expect_exit(2 info)
expect_exit(2 convert ${SAMPLE})
expect_exit(2 roundtrip ${SAMPLE})

set(copy ${WORK}/roundtrip-copy.vkd)
file(REMOVE ${copy})
expect_exit(0 roundtrip ${SAMPLE} ${copy})
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SAMPLE} ${copy} RESULT_VARIABLE same)
if(NOT same EQUAL 0)
    message(FATAL_ERROR "the round trip changed the sample document")
endif()

# A failed read must not touch the output file.
file(WRITE ${copy} "keep me")
expect_exit(1 roundtrip ${NOT_A_DOCUMENT} ${copy})
file(READ ${copy} kept)
if(NOT kept STREQUAL "keep me")
    message(FATAL_ERROR "a failed round trip overwrote its output")
endif()
