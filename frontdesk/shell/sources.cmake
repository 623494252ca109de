# The front desk's shell: start-up, main window, board frame, login.
list(APPEND FRONTDESK_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/about_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/board_screen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/login_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
)
