# The sound tests load the emulated port-I/O module from the build's module
# folder and measure what it sounds like.
if(TARGET test_clock_sound)
  target_link_libraries(test_clock_sound PRIVATE kv_audio_analysis)
  add_dependencies(test_clock_sound kvportio)
  if(TARGET kvbuzzer)
    add_dependencies(test_clock_sound kvbuzzer)
  endif()
  set_property(TEST test_clock_sound APPEND PROPERTY ENVIRONMENT
    "KELVORA_MODULE_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()
# The buzzer control is created through the component runtime from the
# built module (registered by the test in its own registry).
if(TARGET test_clock_sound AND TARGET kvbuzzer)
  target_compile_definitions(test_clock_sound PRIVATE KV_BUZZER_MODULE="$<TARGET_FILE:kvbuzzer>")
endif()
