# tevrako_layer(<name> [EXCLUDE subfolder...] [DEPS target...])
# One static library per layer, built from every source under its folder,
# so adding a file needs no list edit. EXCLUDE leaves out sub-folders that
# are layers of their own (net/import above production).
function(tevrako_layer name)
    cmake_parse_arguments(L "" "" "EXCLUDE;DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
    foreach(subfolder ${L_EXCLUDE})
        list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${subfolder}/")
    endforeach()
    add_library(tevrako_${name} STATIC ${sources})
    target_include_directories(tevrako_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(tevrako_${name} PUBLIC ${L_DEPS})
endfunction()

# tevrako_tests(<layer> [QT] [THREADED filter] [DEPS target...])
# One GoogleTest executable per test folder; every TEST becomes a CTest case.
# QT: the tests drive widgets, so their main() makes a QApplication first.
# THREADED: a GoogleTest filter of positive patterns only (the other tests
# are registered with its negation) naming the tests that run the program's
# own threads; they carry the CTest label "threads", and a ThreadSanitizer
# build (TEVRAKO_TSAN) registers only them.
function(tevrako_tests layer)
    cmake_parse_arguments(T "QT" "THREADED" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp)
    if(NOT sources OR (TEVRAKO_TSAN AND NOT T_THREADED))
        return()
    endif()
    if(T_QT)
        add_executable(test_${layer} ${sources} ${PROJECT_SOURCE_DIR}/tests/qt_test_main.cpp)
        target_link_libraries(test_${layer} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock)
    else()
        add_executable(test_${layer} ${sources})
        target_link_libraries(test_${layer} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    target_include_directories(test_${layer} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    set(others "*")
    if(T_THREADED)
        gtest_discover_tests(test_${layer}
            TEST_FILTER "${T_THREADED}"
            WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
            DISCOVERY_TIMEOUT 60
            PROPERTIES LABELS threads)
        set(others "-${T_THREADED}")
    endif()
    if(NOT TEVRAKO_TSAN)
        gtest_discover_tests(test_${layer}
            TEST_FILTER "${others}"
            WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
            DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
