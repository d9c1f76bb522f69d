# quorvex.exe: the Windows front end over the core, with its icons, version and manifest.

# The parts of the front end that stand alone, so the integration tests reach them too.
target_sources(quorvex_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/single_instance_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/executable_location_win32.cpp)

# Form1 arrives separately; until it does there is nothing for the program to run.
if(NOT EXISTS ${CMAKE_CURRENT_LIST_DIR}/form1.cpp)
  return()
endif()

# The form runtime (window, timers, DoEvents, popup), reached by the integration tests too.
target_sources(quorvex_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/desktop_win32.cpp)

add_executable(quorvex WIN32
  main_win32.cpp
  ${PROJECT_SOURCE_DIR}/resources/quorvex.rc)
target_link_libraries(quorvex PRIVATE quorvex_platform)
# wWinMain is the entry point; -mwindows (from WIN32 above) keeps the console away.
target_link_options(quorvex PRIVATE -municode)
# The resource script names its files from the source root, on every target's include path.
set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/quorvex.rc APPEND PROPERTY
  OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/quorvex.ico ${PROJECT_SOURCE_DIR}/resources/quorvex_alert.ico
                 ${PROJECT_SOURCE_DIR}/resources/quorvex.manifest ${PROJECT_SOURCE_DIR}/resources/resource_ids.h)
# The alert sound is looked for beside the executable.
add_custom_command(TARGET quorvex POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/resources/bing.wav $<TARGET_FILE_DIR:quorvex>/bing.wav)
