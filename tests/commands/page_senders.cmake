kvt_add_ui_test(commands_page_senders_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/combo_mappers_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/field_readers_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/page_senders_test.cpp
  LIBS kvt_tester kvt_sim)
