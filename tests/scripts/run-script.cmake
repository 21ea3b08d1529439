# Runs one omide script and compares what it prints with the expected output.
# cmake -DOMIDE=... -DSCRIPT=... -DREL=... -DWORKDIR=... -DBUILD=... -P run-script.cmake
get_filename_component(name "${SCRIPT}" NAME_WE)
get_filename_component(dir "${SCRIPT}" DIRECTORY)
# The release's own expected output where the releases differ, else the shared one.
set(EXPECTED "${dir}/${name}.r${REL}.out")
if(NOT EXISTS "${EXPECTED}")
  set(EXPECTED "${dir}/${name}.out")
endif()
set(scratch "${WORKDIR}/${name}")
file(REMOVE_RECURSE "${scratch}")
file(MAKE_DIRECTORY "${scratch}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env OMIDE_SETTINGS=${scratch}/settings.db OMIDE_SCRATCH=${scratch}
          ${OMIDE} --script ${SCRIPT}
  WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
string(REPLACE "${scratch}" "<scratch>" out "${out}")
string(REPLACE "${CMAKE_CURRENT_LIST_DIR}" "<scripts>" out "${out}")
string(REPLACE "${BUILD}" "<build>" out "${out}")
file(WRITE "${scratch}/actual.out" "${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "omide exited ${rc}\n${err}\n--- output ---\n${out}")
endif()
file(READ "${EXPECTED}" expected)
if(NOT out STREQUAL expected)
  execute_process(COMMAND diff -u "${EXPECTED}" "${scratch}/actual.out" OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "the output differs from ${EXPECTED}:\n${diff}")
endif()
