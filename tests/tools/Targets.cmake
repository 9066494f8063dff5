# Helper programs of the UI tests, built beside them in bin/.

add_executable(OpenRecorder WIN32 ${CMAKE_SOURCE_DIR}/tests/tools/OpenRecorder.cpp)
if(TARGET ui_tests)
  add_dependencies(ui_tests OpenRecorder)
endif()

# The UI tests name control identifiers and message titles through the program's headers,
# and form expected file contents with the portable core (the batch framing).
if(TARGET ui_tests)
  target_include_directories(ui_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(ui_tests PRIVATE tessel_core)
endif()
