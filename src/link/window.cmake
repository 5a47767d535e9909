# The module link's window code: member functions of the main window and the channel dialogs.
if(KVT_GUI)
  add_library(kvt_link_window OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/classifier.cpp
    ${CMAKE_CURRENT_LIST_DIR}/receive_path.cpp
    ${CMAKE_CURRENT_LIST_DIR}/send_history.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serial_settings_dlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/worker_threads.cpp
  )
  target_link_libraries(kvt_link_window PUBLIC kvt_platform kvt_analyzer kvt_link_serial kvt_res)
endif()
