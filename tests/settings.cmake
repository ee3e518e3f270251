# The settings dialog's tests play test melodies on the emulated PC speaker:
# they find the port-I/O module in the build's module folder.
if(TARGET test_clock_settings)
  add_dependencies(test_clock_settings kvportio)
  set_property(TEST test_clock_settings APPEND PROPERTY ENVIRONMENT
    "KELVORA_MODULE_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()
