# quorvex-console: Form1 with a text front end (JSON lines or --readable) on the native build.

# Everything but main, so the unit tests reach the pieces too.
add_library(quorvex_console STATIC
  ${CMAKE_CURRENT_LIST_DIR}/console_json.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_json_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_readable_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_timers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_desktop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_instance_lock_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_executable_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_input_posix.cpp)
target_link_libraries(quorvex_console PUBLIC quorvex_platform)

add_executable(quorvex-console ${CMAKE_CURRENT_LIST_DIR}/main_console.cpp)
target_link_libraries(quorvex-console PRIVATE quorvex_console quorvex_platform)
