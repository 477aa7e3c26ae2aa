# The desktop program: main window, editor, help browser, About box, and its help pages
# compiled in as Qt resources.
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

add_library(orvix_gui STATIC
    text_editor.cpp
    main_window.cpp
    help_browser.cpp
    about_dialog.cpp
    emblem.cpp
    system_info.cpp
)
target_include_directories(orvix_gui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(orvix_gui PUBLIC orvix_documents orvix_qt_services Qt6::Widgets)
target_compile_definitions(orvix_gui PRIVATE ORVIX_VERSION="${PROJECT_VERSION}")
orvix_target(orvix_gui)

# Every page and picture in the help folder, served under qrc:/help/.
set(ORVIX_HELP_DIR ${PROJECT_SOURCE_DIR}/src/resources/help)
file(GLOB ORVIX_HELP_FILES CONFIGURE_DEPENDS
    ${ORVIX_HELP_DIR}/*.html ${ORVIX_HELP_DIR}/*.png ${ORVIX_HELP_DIR}/*.css)
qt_add_resources(orvix_gui "orvix_help" PREFIX "/help" BASE ${ORVIX_HELP_DIR}
    FILES ${ORVIX_HELP_FILES})

add_executable(orvix main.cpp)
target_link_libraries(orvix PRIVATE orvix_gui)
target_compile_definitions(orvix PRIVATE ORVIX_VERSION="${PROJECT_VERSION}")
orvix_target(orvix)

# Renders the main window, its menus, the parameter dialogs, the About box and the help window
# into PNG files (scripts/screenshots runs it on the offscreen platform).
add_executable(orvix-screenshots screenshots.cpp)
target_link_libraries(orvix-screenshots PRIVATE orvix_gui)
orvix_target(orvix-screenshots)

install(TARGETS orvix RUNTIME DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/src/resources/orvix.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/resources/orvix.svg
    DESTINATION share/icons/hicolor/scalable/apps)
