kvt_add_ui_test(dialogs_search_console_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/device_search_list_test.cpp ${CMAKE_CURRENT_LIST_DIR}/parse_frame_console_test.cpp
  LIBS kvt_tester kvt_sim)
