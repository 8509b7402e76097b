# Runs GENERATOR into ACTUAL and fails unless it prints EXPECTED.  The
# generator works in long double through the C library's erfcl, expl,
# tgammal and cosl, whose last bits differ between library releases; that moves the
# tables' smallest coefficients by about 1e-20.  So the text must agree with
# the numbers taken out, and each number within 1e-18, ten orders of
# magnitude below the single precision that the tables are evaluated in.
execute_process(COMMAND ${GENERATOR} OUTPUT_FILE ${ACTUAL} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "generator failed: ${rc}")
endif()
execute_process(COMMAND awk -v TOL=1e-18 -f ${CMAKE_CURRENT_LIST_DIR}/compare_generated.awk ${EXPECTED} ${ACTUAL}
  RESULT_VARIABLE rc OUTPUT_VARIABLE difference)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXPECTED} differs from the output of its generator (${ACTUAL}): ${difference}regenerate it")
endif()
