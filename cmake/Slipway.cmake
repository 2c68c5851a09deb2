# Shared build settings and helpers.

set(SLIPWAY_WARNINGS -Wall -Wextra -Wpedantic)
if(SLIPWAY_WERROR)
    list(APPEND SLIPWAY_WARNINGS -Werror)
endif()

if(SLIPWAY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(SLIPWAY_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

if(SLIPWAY_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Adds every immediate sub-folder of DIR that has a CMakeLists.txt, in name order.
function(slipway_add_subdirectories dir)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/${dir}
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*)
    list(SORT children)
    foreach(child ${children})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/${child}/CMakeLists.txt)
            add_subdirectory(${dir}/${child})
        endif()
    endforeach()
endfunction()

# A library under libs/: every .cpp of the calling folder unless SOURCES are given. It must stay
# Qt-free (see slipway_check_qt_free) unless marked QT; a Qt library also lists its headers and
# runs them through moc.
# Usage: slipway_library(NAME [QT] [SOURCES ...] DEPENDS ...)
function(slipway_library name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPENDS" ${ARGN})
    if(NOT ARG_SOURCES)
        file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
        if(ARG_QT)
            file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
            list(APPEND ARG_SOURCES ${headers})
        endif()
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/libs)
    target_compile_options(${name} PRIVATE ${SLIPWAY_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    if(ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
    else()
        set_property(GLOBAL APPEND PROPERTY SLIPWAY_QT_FREE_LIBRARIES ${name})
    endif()
endfunction()

# Every name TARGET reaches through its link dependencies (TARGET included), into OUT.
function(slipway_link_closure target out)
    set(queue ${target})
    set(seen "")
    while(queue)
        list(POP_FRONT queue current)
        if(current IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${current})
        if(TARGET ${current})
            get_target_property(deps ${current} INTERFACE_LINK_LIBRARIES)
            get_target_property(type ${current} TYPE)
            if(NOT type STREQUAL "INTERFACE_LIBRARY")
                get_target_property(direct ${current} LINK_LIBRARIES)
                if(direct)
                    list(APPEND deps ${direct})
                endif()
            endif()
            foreach(dep ${deps})
                if(dep AND NOT dep MATCHES "^\\$<")
                    list(APPEND queue ${dep})
                endif()
            endforeach()
        endif()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configuration when a library named in the global PROPERTY reaches a link
# dependency matching PATTERN; WHAT names the forbidden thing in the message.
function(slipway_forbid_links property pattern what)
    get_property(libs GLOBAL PROPERTY ${property})
    foreach(lib ${libs})
        slipway_link_closure(${lib} reached)
        foreach(current ${reached})
            if(current MATCHES "${pattern}")
                message(FATAL_ERROR "${lib} must not link ${what}, but reaches ${current}")
            endif()
        endforeach()
    endforeach()
endfunction()

# Fails the configuration when a library made with slipway_library (not marked QT) reaches Qt
# through its link dependencies: the libraries stay plain C++ so they can be tested and reused
# headless.
function(slipway_check_qt_free)
    slipway_forbid_links(SLIPWAY_QT_FREE_LIBRARIES "^Qt[0-9]*::" "Qt")
endfunction()

# Fails the configuration when a library put in SLIPWAY_OPENGL_FREE_LIBRARIES (the Qt Widgets
# shell) reaches OpenGL or the renderer: programs without a 3D view link it.
function(slipway_check_opengl_free)
    slipway_forbid_links(SLIPWAY_OPENGL_FREE_LIBRARIES
                         "^(Qt[0-9]*::OpenGL.*|slipway_render|slipway_viewer)$" "OpenGL")
endfunction()

# A GoogleTest executable registered with CTest, one CTest test per test case.
# Usage: slipway_test(NAME SOURCES ... DEPENDS ... [LABELS ...] [ENVIRONMENT ...])
function(slipway_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;LABELS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${SLIPWAY_WARNINGS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main)
    set(props "")
    if(ARG_LABELS)
        list(APPEND props LABELS "${ARG_LABELS}")
    endif()
    if(ARG_ENVIRONMENT)
        # The test runs (and is listed) through env(1), so any number of VAR=VALUE entries
        # reach it; the ENVIRONMENT test property would split them apart.
        set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "env;${ARG_ENVIRONMENT}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                         PROPERTIES ${props})
endfunction()

# A libFuzzer target. Usage: slipway_fuzzer(NAME SOURCES ... DEPENDS ...)
function(slipway_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# Where ccache is installed, compiling the same sources again (another checkout, a fresh clone
# on the same machine) comes from its cache. Paths are taken relative to the source tree, so
# checkouts in different folders share the cache.
find_program(SLIPWAY_CCACHE ccache)
if(SLIPWAY_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR}
        CCACHE_NOHASHDIR=1 ${SLIPWAY_CCACHE})
endif()
