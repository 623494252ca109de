# The data tree: the venue's names and the system password, the system log, backup, restore,
# clearing and initialisation.
foreach(file registration system_log_query data_clearing)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
foreach(file registration_panel log_panel data_operations_panel user_data_navigation)
    list(APPEND BACKOFFICE_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
