# cmake -P script: builds a second copy of the program whose vendor host is 127.0.0.1, so that
# the vendor tests can receive its notifications. Only the program target is built, in its own
# build folder, and installed into its own dist folder.
#   -DSOURCE_DIR=... -DBINARY_DIR=... -DDIST_DIR=... -DTOOLCHAIN_FILE=...
foreach(variable SOURCE_DIR BINARY_DIR DIST_DIR TOOLCHAIN_FILE)
  if(NOT ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

if(NOT EXISTS "${BINARY_DIR}/CMakeCache.txt")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${BINARY_DIR}" -G "Unix Makefiles"
            "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE}" -DCMAKE_BUILD_TYPE=Release
            -DVENDOR_HOST=127.0.0.1 "-DDICT_DIST_DIR=${DIST_DIR}"
    RESULT_VARIABLE result)
  if(result)
    message(FATAL_ERROR "configuring ${BINARY_DIR} failed")
  endif()
endif()

execute_process(
  COMMAND "${CMAKE_COMMAND}" --build "${BINARY_DIR}" --target EnglishGermanDictionary --parallel 2
  RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "building the program in ${BINARY_DIR} failed")
endif()
