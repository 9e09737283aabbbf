# Fails when FILE is larger than BUDGET bytes.
#   cmake -DFILE=path -DBUDGET=bytes -P check-size.cmake
file(SIZE "${FILE}" size)
if(size GREATER BUDGET)
    message(FATAL_ERROR "${FILE} is ${size} bytes, over its budget of ${BUDGET} bytes")
endif()
message(STATUS "${FILE}: ${size} bytes (budget ${BUDGET})")
