# kv_add_catalogue(<target> OUTPUT <file> PASSWORD <pwd> SOURCES <sql>...)
# Builds a catalogue store file from SQL text with the store's own builder.
function(kv_add_catalogue target)
    cmake_parse_arguments(ARG "" "OUTPUT;PASSWORD" "SOURCES" ${ARGN})
    set(srcs)
    foreach(s IN LISTS ARG_SOURCES)
        get_filename_component(abs "${s}" ABSOLUTE)
        list(APPEND srcs "${abs}")
    endforeach()
    add_custom_command(
        OUTPUT "${ARG_OUTPUT}"
        COMMAND mkstore "${ARG_OUTPUT}" "${ARG_PASSWORD}" ${srcs}
        DEPENDS mkstore ${srcs}
        COMMENT "Building catalogue ${ARG_OUTPUT}"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${ARG_OUTPUT}")
endfunction()
