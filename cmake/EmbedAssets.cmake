# Compiles files into a program as C++ byte arrays.
#
#   demo_embed_assets(TARGET [HEADER header] FILES file symbol [file symbol ...])
#
# adds to TARGET, for each file, a generated source that defines
#   const unsigned char <symbol>[]  (the file's bytes, aligned to 4)
#   const int32_t <symbol>Size      (the file's length in bytes)
# with external linkage. HEADER, when given, is included by each generated
# source so that the compiler checks it against the definitions. The sources
# are written at build time by this same file in script mode, so only CMake
# itself runs: the same on the native and the cross build.
#
# Script mode: cmake -DINPUT=file -DOUTPUT=source -DSYMBOL=name [-DHEADER=h] -P EmbedAssets.cmake

if(CMAKE_SCRIPT_MODE_FILE)
    file(READ "${INPUT}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR length "${digits} / 2")
    # Sixteen bytes a line (CMake's expressions have no counted repeats).
    string(REPEAT "0x..," 16 line)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
    string(REGEX REPLACE "(${line})" "\\1\n    " hex "${hex}")
    get_filename_component(name "${INPUT}" NAME)
    set(text "// Generated from ${name} at build time. Do not edit.\n#include <cstdint>\n")
    if(HEADER)
        string(APPEND text "#include \"${HEADER}\"\n")
    endif()
    string(APPEND text
        "extern const unsigned char ${SYMBOL}[];\n"
        "extern const int32_t ${SYMBOL}Size;\n"
        "alignas(4) const unsigned char ${SYMBOL}[] = {\n    ${hex}\n};\n"
        "const int32_t ${SYMBOL}Size = ${length};\n"
        "static_assert(sizeof(${SYMBOL}) == ${length}, \"embedded length\");\n")
    file(WRITE "${OUTPUT}" "${text}")
    return()
endif()


function(demo_embed_assets target)
    cmake_parse_arguments(E "" "HEADER" "FILES" ${ARGN})
    list(LENGTH E_FILES count)
    math(EXPR odd "${count} % 2")
    if(count EQUAL 0 OR odd)
        message(FATAL_ERROR "demo_embed_assets: FILES takes pairs of file and symbol")
    endif()
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 2)
        math(EXPR j "${i} + 1")
        list(GET E_FILES ${i} file)
        list(GET E_FILES ${j} symbol)
        get_filename_component(file "${file}" ABSOLUTE)
        set(source ${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp)
        set(header_arg)
        if(E_HEADER)
            set(header_arg -DHEADER=${E_HEADER})
        endif()
        add_custom_command(OUTPUT ${source}
            COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${source} -DSYMBOL=${symbol} ${header_arg}
                    -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
            DEPENDS ${file} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
            COMMENT "Embedding ${file}"
            VERBATIM)
        target_sources(${target} PRIVATE ${source})
    endforeach()
endfunction()
