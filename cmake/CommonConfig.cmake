# Language level, strict Qt string handling and warnings for every target of the project.
add_library(tourlog_common INTERFACE)
target_compile_features(tourlog_common INTERFACE cxx_std_20)
target_compile_definitions(tourlog_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER)
target_compile_options(tourlog_common INTERFACE -Wall -Wextra)
if(TOURLOG_WERROR)
    target_compile_options(tourlog_common INTERFACE -Werror)
endif()
