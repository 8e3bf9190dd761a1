# orv_add_component(<target> SOURCES ...): a component library (shared, loaded on demand by the
# class registry) that links the data-access library, and is registered into the build's
# registry file after every build so that tests and the walkthrough can create its classes.
function(orv_add_component target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE orv_automation ${ARG_LIBS})
  add_dependencies(${target} orvdb)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND orvdb register --registry "${ORV_BUILD_REGISTRY}" "$<TARGET_FILE:${target}>"
    COMMENT "Registering ${target}"
    VERBATIM)
endfunction()

# orv_add_test(<target> SOURCES ... LIBS ...): a GoogleTest program run by CTest against the
# build's registry file.
function(orv_add_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE orv_automation GTest::gtest GTest::gtest_main ${ARG_LIBS})
  if(ARG_DEPENDS)
    add_dependencies(${target} ${ARG_DEPENDS})
  endif()
  gtest_discover_tests(${target}
    PROPERTIES ENVIRONMENT "ORV_REGISTRY=${ORV_BUILD_REGISTRY}"
    DISCOVERY_TIMEOUT 60)
endfunction()
