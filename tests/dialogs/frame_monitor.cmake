kvt_add_ui_test(dialogs_monitor_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_monitor_test.cpp ${CMAKE_CURRENT_LIST_DIR}/list_ctrls_test.cpp
  LIBS kvt_tester kvt_sim)
