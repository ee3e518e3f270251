# The component checks find the built modules on the program's search path
# and register them in the test's own registry.
if(TARGET test_clock_help)
  add_dependencies(test_clock_help Quillet kvbuzzer kvportio)
  set_property(TEST test_clock_help APPEND PROPERTY ENVIRONMENT "KELVORA_MODULE_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()
