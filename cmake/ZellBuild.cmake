# Shared build settings and helpers of all modules.

# Compiles go through ccache where the machine has it; paths are hashed relative
# to the source tree and the build folder is left out of the hash (debug
# information names it too), so several clones of the project share one cache.
find_program(ZELL_CCACHE ccache)
if(ZELL_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1 ${ZELL_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1 ${ZELL_CCACHE})
endif()

set(ZELL_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter -Wno-missing-field-initializers)

if(ZELL_FUZZ)
  # Everything the fuzz targets link is instrumented for coverage.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  add_custom_target(zell_fuzzers)
endif()

if(ZELL_SANITIZE)
  # -O1 keeps the instrumented programs at a quarter of their unoptimised
  # check data and runs them faster; stack traces stay exact enough.
  add_compile_options(-O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Every test program carries the whole stack statically, so a clean build of
# the plain, sanitized and fuzz trees must be kept small enough for one disk:
# debug sections are compressed and relative relocations packed.
add_compile_options(-gz)
add_link_options(-gz)
include(CheckLinkerFlag)
check_linker_flag(CXX "-Wl,-z,pack-relative-relocs" ZELL_LINKER_PACKS_RELOCS)
if(ZELL_LINKER_PACKS_RELOCS)
  add_link_options(-Wl,-z,pack-relative-relocs)
endif()

# zell_module_library(NAME [STATIC|SHARED] SOURCES ... | FOLDERS ... LIBS ...)
# A static library whose sources are the .cpp files of the calling folder
# (tests and resources excluded) unless SOURCES are given, or those of the
# subfolders FOLDERS names ("." the calling folder itself) for a library whose
# files are sorted into folders.
function(zell_module_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;FOLDERS;LIBS;INCLUDES" ${ARGN})
  if(NOT ARG_FOLDERS)
    set(ARG_FOLDERS .)
  endif()
  if(NOT ARG_SOURCES)
    list(TRANSFORM ARG_FOLDERS REPLACE "(.+)" "${CMAKE_CURRENT_SOURCE_DIR}/\\1/*.cpp" OUTPUT_VARIABLE patterns)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${patterns})
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${ZELL_WARNINGS})
  # The platform layer stands in for the system, which a process has once:
  # its symbols stay visible, so when several deliverables carry a copy, the
  # dynamic linker binds them all to one (one window tree, one last error per
  # thread, one clock). The subsystems above keep a hidden copy per deliverable.
  if(CMAKE_CURRENT_SOURCE_DIR MATCHES "/Platform/[^/]+$")
    set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET default)
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${ARG_INCLUDES})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# zell_test(NAME SOURCES ... LIBS ... [TIMEOUT seconds] [SHARDS n])
# A GoogleTest program registered with CTest. Without SOURCES, every .cpp of
# the calling folder's Tests/ folder is taken. TIMEOUT in seconds (30 unless
# given; at most 120) is a few times the program's run time in the sanitized
# build on a busy machine, so that a hang fails soon and names the program
# (it takes precedence over `ctest --timeout`). With SHARDS the program is
# registered n times as NAME-1 ... NAME-n, each running its share of the tests
# (GoogleTest's sharding), so that a long program runs in parallel and each
# share keeps its time-out. ZELL_TESTS_OF_<NAME> names the registered tests.
function(zell_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT;SHARDS" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 30)
  endif()
  if(ARG_TIMEOUT GREATER 120)
    message(FATAL_ERROR "zell_test(${name}): a time-out above 120 s hides a hang")
  endif()
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Tests/*.cpp)
  endif()
  if(NOT ARG_SOURCES)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${ZELL_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest GTest::gtest_main Threads::Threads)
  if(NOT ARG_SHARDS OR ARG_SHARDS LESS 2)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
      ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${name};ZELL_DISPLAY=headless")
    set(ZELL_TESTS_OF_${name} ${name} PARENT_SCOPE)
    return()
  endif()
  set(tests)
  foreach(shard RANGE 1 ${ARG_SHARDS})
    math(EXPR index "${shard} - 1")
    add_test(NAME ${name}-${shard} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name}-${shard} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
      ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${name}-${shard};ZELL_DISPLAY=headless;GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${index}")
    list(APPEND tests ${name}-${shard})
  endforeach()
  set(ZELL_TESTS_OF_${name} ${tests} PARENT_SCOPE)
endfunction()

# zell_x11_screen_test(NAME SOURCES ... LIBS ... PROGRAMS target=DEFINE ... [DEFINES ...] [TIMEOUT n])
# A test that starts screen programs on a real X server and compares what
# they show with their headless rendering. Each program's path reaches the
# test as DEFINE, the folder for its screenshots as ZELL_X11_OUTPUT_DIR.
function(zell_x11_screen_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;PROGRAMS;DEFINES" ${ARGN})
  set(support ${CMAKE_SOURCE_DIR}/Platform/Display/Tests)
  zell_test(${name}
    SOURCES ${ARG_SOURCES} ${support}/X11ScreenCapture.cpp ${support}/X11TestServer.cpp
    LIBS ${ARG_LIBS}
    TIMEOUT ${ARG_TIMEOUT})
  target_include_directories(${name} PRIVATE ${support})
  set(defines ZELL_X11_OUTPUT_DIR="${CMAKE_CURRENT_BINARY_DIR}" ${ARG_DEFINES})
  foreach(pair IN LISTS ARG_PROGRAMS)
    string(REPLACE "=" ";" parts "${pair}")
    list(GET parts 0 program)
    list(GET parts 1 define)
    add_dependencies(${name} ${program})
    list(APPEND defines ${define}="$<TARGET_FILE:${program}>")
  endforeach()
  target_compile_definitions(${name} PRIVATE ${defines})
endfunction()

# zell_fuzzer(NAME SOURCES ... LIBS ... [RUNS n])
# A libFuzzer target; built only in the fuzzing configuration, where CTest
# runs it for a few seconds on its own seed folder (Tests/Corpus/NAME if present),
# or for n runs when RUNS is given, so that adding targets keeps the fuzz run short.
function(zell_fuzzer name)
  cmake_parse_arguments(ARG "" "RUNS" "SOURCES;LIBS" ${ARGN})
  if(NOT ZELL_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_dependencies(zell_fuzzers ${name})
  set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  set(seeds "")
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/Tests/Corpus/${name})
    set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/Tests/Corpus/${name})
  endif()
  set(budget -max_total_time=20)
  if(ARG_RUNS)
    set(budget -runs=${ARG_RUNS} -max_total_time=20)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${budget} -rss_limit_mb=2048 -timeout=10 ${corpus} ${seeds})
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS fuzz
    ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${name};ZELL_DISPLAY=headless")
endfunction()
include(ZellVersion)
include(ZellResources)

# zell_deliverable_library(NAME OUTPUT_NAME name WHOLE libs... LIBS libs...)
# A shared library users load: the WHOLE libraries are taken in completely,
# so every exported class is in it; the LIBS give it hidden copies of the
# helpers it needs. It lands in the build's bin/ folder beside the program.
function(zell_deliverable_library name)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "WHOLE;LIBS" ${ARGN})
  add_library(${name} SHARED)
  set_target_properties(${name} PROPERTIES
    OUTPUT_NAME ${ARG_OUTPUT_NAME}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE -Wl,--whole-archive ${ARG_WHOLE} -Wl,--no-whole-archive ${ARG_LIBS})
  # Sanitizer runtimes are resolved from the program, so only a plain build
  # can insist that the library itself leaves nothing undefined.
  if(NOT ZELL_SANITIZE AND NOT ZELL_FUZZ)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()
