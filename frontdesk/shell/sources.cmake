# The front desk's shell: start-up, main window, login, the context handed to every screen.
list(APPEND FRONTDESK_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/about_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/login_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
)
