# Helpers shared by every target of both releases.

# Compile settings of a target built for host release REL.
function(om_setup target rel)
  target_compile_definitions(${target} PUBLIC OM_HOST_RELEASE=${rel})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/host)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  # -Wrestrict: a false alarm of g++ 12 on std::string at -O2 (its bug 105329).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  else()
    # The host headers declare the platform's interfaces as its own headers do: some
    # overriding members say only `virtual`.
    target_compile_options(${target} PRIVATE -Wno-inconsistent-missing-override)
  endif()
  if(OM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The module record of a target (every library or executable that defines classes has
# one), with its resources: om_module(target NAME name [RESOURCES TYPE NAME FILE ...]).
function(om_module target)
  cmake_parse_arguments(ARG "" "NAME" "RESOURCES" ${ARGN})
  set(entries "")
  set(files "")
  list(LENGTH ARG_RESOURCES n)
  if(n GREATER 0)
    math(EXPR last "${n} - 1")
    foreach(i RANGE 0 ${last} 3)
      math(EXPR j "${i} + 1")
      math(EXPR k "${i} + 2")
      list(GET ARG_RESOURCES ${i} type)
      list(GET ARG_RESOURCES ${j} name)
      list(GET ARG_RESOURCES ${k} file)
      get_filename_component(file "${file}" ABSOLUTE)
      list(APPEND entries "${type}|${name}|${file}")
      list(APPEND files "${file}")
    endforeach()
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_module.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DMODULE=${ARG_NAME} "-DENTRIES=${entries}"
            -P ${PROJECT_SOURCE_DIR}/cmake/embed.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/embed.cmake
    COMMENT "Compiling the resources of ${ARG_NAME}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()

# A GoogleTest binary of one folder for one release, its cases prefixed with the release:
# om_test(target rel SOURCES ... [RESOURCES TYPE NAME FILE ...]).
function(om_test target rel)
  cmake_parse_arguments(ARG "" "" "SOURCES;RESOURCES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  om_setup(${target} ${rel})
  om_module(${target} NAME ${target} RESOURCES ${ARG_RESOURCES})
  # Tests reach the IDE's own surface too: designers, inspector, input, settings, shell.
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/ide)
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${target} TEST_PREFIX "r${rel}." DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "OM_TEST_RELEASE=${rel}")
endfunction()
