# The front desk's shell: start-up, main window, login, the context handed to every screen.
list(APPEND FRONTDESK_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/table_desk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/table_life_desk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ordering_desk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/day_desk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reports_desk.cpp
)
