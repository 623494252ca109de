# The back office's shell: the main window with its menus, toolbar and trees, the login, and the
# wiring of every area's panels into the work area.
list(APPEND BACKOFFICE_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/login_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window_screen.cpp
)
