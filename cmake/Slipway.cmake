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

# A Qt-free library under libs/: every .cpp of the calling folder unless SOURCES are given.
# Usage: slipway_library(NAME [SOURCES ...] DEPENDS ...)
function(slipway_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    if(NOT ARG_SOURCES)
        file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/libs)
    target_compile_options(${name} PRIVATE ${SLIPWAY_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
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
        list(APPEND props ENVIRONMENT "${ARG_ENVIRONMENT}")
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
