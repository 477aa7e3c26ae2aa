# Turns data/nuclei.csv into C++ initialisers for the compiled nuclear data table.
# Run as: cmake -DCSV=<nuclei.csv> -DOUT=<nuclei_table.inc> -P generate_nuclei_table.cmake
# The numbers are copied as written in the CSV, so the compiler rounds each one exactly once,
# from the same decimal text any reader of the CSV sees.
if(NOT DEFINED CSV OR NOT DEFINED OUT)
    message(FATAL_ERROR "generate_nuclei_table.cmake needs -DCSV=... and -DOUT=...")
endif()

file(STRINGS "${CSV}" lines ENCODING UTF-8)
list(LENGTH lines line_count)
if(line_count LESS 2)
    message(FATAL_ERROR "${CSV}: no rows")
endif()

list(GET lines 0 header)
set(expected_header
    "symbol,element,mass_number,spin,gamma_1e7_rad_per_s_T,natural_abundance_percent,quadrupole_moment_fm2")
if(NOT header STREQUAL expected_header)
    message(FATAL_ERROR "${CSV}: unexpected header '${header}'")
endif()
list(REMOVE_AT lines 0)

set(decimal "^-?[0-9]+(\\.[0-9]+)?$")
set(body "// Generated from nuclei.csv by generate_nuclei_table.cmake; do not edit.\n")
set(row_number 1)
foreach(line IN LISTS lines)
    math(EXPR row_number "${row_number} + 1")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
        continue()
    endif()
    string(REPLACE "," ";" fields "${line}")
    list(LENGTH fields field_count)
    if(NOT field_count EQUAL 7)
        message(FATAL_ERROR "${CSV}:${row_number}: expected 7 fields, found ${field_count}")
    endif()
    list(GET fields 0 symbol)
    list(GET fields 1 element)
    list(GET fields 2 mass_number)
    list(GET fields 3 spin)
    list(GET fields 4 gamma)
    list(GET fields 5 abundance)
    list(GET fields 6 quadrupole_moment)
    if(NOT symbol MATCHES "^[0-9]+[A-Z][a-z]?$" OR NOT element MATCHES "^[A-Z][a-z]?$"
       OR NOT mass_number MATCHES "^[0-9]+$")
        message(FATAL_ERROR "${CSV}:${row_number}: malformed nuclide '${symbol}'")
    endif()
    foreach(number IN ITEMS "${spin}" "${gamma}" "${abundance}" "${quadrupole_moment}")
        if(NOT number MATCHES "${decimal}")
            message(FATAL_ERROR "${CSV}:${row_number}: '${number}' is not a decimal number")
        endif()
    endforeach()
    string(APPEND body
        "{\"${symbol}\", \"${element}\", ${mass_number}, ${spin}, ${gamma}, ${abundance}, "
        "${quadrupole_moment}},\n")
endforeach()

file(WRITE "${OUT}" "${body}")
