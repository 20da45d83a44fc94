# Runs a generator into OUTPUT and fails unless the result equals the
# committed file EXPECTED byte for byte (the glyph meshes, the translation
# template).
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the generator of ${EXPECTED} failed (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${EXPECTED} RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "${EXPECTED} differs from what its generator makes; run its target")
endif()
message(STATUS "${EXPECTED} is reproducible")
