# cmake -DKEYS=<QtTextKeys.cpp> -DTABLES=<dir> -P CheckTranslationTables.cmake
# Fails when a table in TABLES lacks a finished translation of one of the
# keys the kit looks up (the QT_TRANSLATE_NOOP list in KEYS). Reading the
# sources, not the compiled tables, also catches a text lrelease would ship
# while it is still marked unfinished.
file(READ "${KEYS}" source)
string(REGEX MATCHALL "QT_TRANSLATE_NOOP\\(\"VelaWidget\", \"[^\"]+\"\\)" entries "${source}")
list(LENGTH entries key_count)
if(key_count EQUAL 0)
    message(FATAL_ERROR "no keys found in ${KEYS}")
endif()
file(GLOB tables "${TABLES}/*.ts")
if(NOT tables)
    message(FATAL_ERROR "no translation tables in ${TABLES}")
endif()
set(problems "")
foreach(table IN LISTS tables)
    file(READ "${table}" text)
    get_filename_component(name "${table}" NAME)
    foreach(entry IN LISTS entries)
        string(REGEX REPLACE ".*, \"([^\"]+)\"\\)" "\\1" key "${entry}")
        string(REPLACE "." "\\." pattern "${key}")
        # Comments may stand between the key and its translation; a
        # translation with a type (unfinished, vanished) does not count.
        if(NOT text MATCHES "<source>${pattern}</source>[ \t\r\n]*(<[a-z]*comment>[^<]*</[a-z]*comment>[ \t\r\n]*)*<translation>[^<]+</translation>")
            string(APPEND problems "\n  ${name}: ${key}")
        endif()
    endforeach()
endforeach()
if(problems)
    message(FATAL_ERROR "keys without a finished translation:${problems}")
endif()
list(LENGTH tables table_count)
message(STATUS "${table_count} tables translate all ${key_count} keys")
