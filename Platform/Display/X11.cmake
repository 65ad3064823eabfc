# The X11 back end, included by this folder's CMakeLists.txt. It joins the
# PlatformDisplay library when the Xlib development files are there.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZELL_X11 IMPORTED_TARGET x11)
if(NOT ZELL_X11_FOUND)
  message(STATUS "libX11 not found: the X11 display back end is left out")
  return()
endif()

target_sources(PlatformDisplay PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/X11Clipboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/X11Connection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/X11Display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/X11KeyMap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/X11Resolution.cpp
  ${CMAKE_CURRENT_LIST_DIR}/X11Window.cpp
)
target_link_libraries(PlatformDisplay PUBLIC PkgConfig::ZELL_X11)
target_compile_definitions(PlatformDisplay PUBLIC ZELL_HAVE_X11)

zell_test(PlatformDisplayX11Tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Tests/X11KeyMapTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Tests/X11DisplayTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Tests/X11ResolutionTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Tests/X11TestServer.cpp
  LIBS PlatformDisplay
  TIMEOUT 60)

# The screen test: the demo window on a private Xvfb against its headless rendering.
pkg_check_modules(ZELL_X11_PANGOCAIRO IMPORTED_TARGET pangocairo)
if(ZELL_X11_PANGOCAIRO_FOUND)
  add_executable(X11DemoWindow
    ${CMAKE_CURRENT_LIST_DIR}/Tests/X11DemoWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Tests/X11DemoLayout.cpp)
  target_compile_options(X11DemoWindow PRIVATE ${ZELL_WARNINGS})
  target_link_libraries(X11DemoWindow PRIVATE PlatformDisplay PkgConfig::ZELL_X11_PANGOCAIRO)

  zell_test(PlatformDisplayX11ScreenTests
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11ScreenTests.cpp
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11ScreenCapture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11DemoLayout.cpp
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11TestServer.cpp
    LIBS PlatformDisplay PkgConfig::ZELL_X11_PANGOCAIRO
    TIMEOUT 60)
  add_dependencies(PlatformDisplayX11ScreenTests X11DemoWindow)
  target_compile_definitions(PlatformDisplayX11ScreenTests PRIVATE
    ZELL_X11_DEMO="$<TARGET_FILE:X11DemoWindow>"
    ZELL_X11_OUTPUT_DIR="${CMAKE_CURRENT_BINARY_DIR}")

  # The same through the window layer, when it is part of the build.
  if(TARGET PlatformUi)
    add_executable(X11UiDemo ${CMAKE_CURRENT_LIST_DIR}/Tests/X11UiDemo.cpp)
    target_compile_options(X11UiDemo PRIVATE ${ZELL_WARNINGS})
    target_link_libraries(X11UiDemo PRIVATE PlatformUi PlatformDisplay)
    add_dependencies(PlatformDisplayX11ScreenTests X11UiDemo)
    target_compile_definitions(PlatformDisplayX11ScreenTests PRIVATE ZELL_X11_UI_DEMO="$<TARGET_FILE:X11UiDemo>")
  endif()
endif()

# The window layer's clipboard on the X server, when the layer is part of the build.
if(TARGET PlatformUi)
  zell_test(PlatformUiX11Tests
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11UiClipboardTests.cpp
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11TestServer.cpp
    LIBS PlatformUi PlatformDisplay)
  set_tests_properties(PlatformUiX11Tests PROPERTIES TIMEOUT 30)
  # Its own program: the layer keeps the display it met first.
  zell_test(PlatformUiX11WindowTests
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11UiWindowTests.cpp
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11ScreenCapture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11TestServer.cpp
    LIBS PlatformUi PlatformDisplay
    TIMEOUT 30)
  # The menu's text comes through fontconfig, whose caches live as long as the process.
  set_property(TEST PlatformUiX11WindowTests APPEND PROPERTY ENVIRONMENT
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/Platform/Gdi/Tests/lsan.supp")
endif()

# The window layer's owner-drawn sample pop-up menu against its headless
# rendering, when the layer is part of the build.
if(TARGET PlatformUi AND TARGET PlatformDisplayX11ScreenTests)
  set(ZELL_UI_TESTS_DIR ${CMAKE_SOURCE_DIR}/Platform/Ui/Tests)
  add_executable(X11PopupMenu ${ZELL_UI_TESTS_DIR}/X11/X11PopupMenu.cpp ${ZELL_UI_TESTS_DIR}/OwnerDrawnMenuSample.cpp)
  target_include_directories(X11PopupMenu PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(X11PopupMenu PRIVATE ${ZELL_WARNINGS})
  target_link_libraries(X11PopupMenu PRIVATE PlatformUi PlatformDisplay)
  zell_test(PlatformUiMenuX11Tests
    SOURCES
      ${ZELL_UI_TESTS_DIR}/X11/X11PopupMenuTests.cpp
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11ScreenCapture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/Tests/X11TestServer.cpp
    LIBS PlatformDisplay
    TIMEOUT 30)
  target_include_directories(PlatformUiMenuX11Tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Tests)
  add_dependencies(PlatformUiMenuX11Tests X11PopupMenu)
  target_compile_definitions(PlatformUiMenuX11Tests PRIVATE
    ZELL_X11_POPUP_MENU="$<TARGET_FILE:X11PopupMenu>"
    ZELL_X11_OUTPUT_DIR="${CMAKE_CURRENT_BINARY_DIR}")
endif()
