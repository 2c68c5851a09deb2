# Builds one man page: scdoc markup into troff, compressed as Debian installs man pages.
# Usage: cmake -DSCDOC=scdoc -DINPUT=NAME.1.scd -DOUTPUT=NAME.1.gz -P BuildManPage.cmake

execute_process(COMMAND ${SCDOC}
                COMMAND gzip -9 -n
                INPUT_FILE ${INPUT}
                OUTPUT_FILE ${OUTPUT}.part
                ERROR_VARIABLE errors
                RESULTS_VARIABLE results)
foreach(result ${results})
    if(NOT result EQUAL 0)
        file(REMOVE ${OUTPUT}.part)
        message(FATAL_ERROR "cannot build ${OUTPUT} from ${INPUT}: ${errors}")
    endif()
endforeach()
file(RENAME ${OUTPUT}.part ${OUTPUT})
