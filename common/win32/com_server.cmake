# Build helpers of the in-process COM servers.

find_program(VIGIL_WIDL NAMES ${VIGIL_MINGW_TRIPLE}-widl widl REQUIRED)
set(VIGIL_COM_TEMPLATES ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "templates of the COM server helpers")

# vigil_widl(<library> IDL <file> HEADER <path> IIDS <path> TLB <path> INCLUDE <dir>): compiles
# an IDL file into its header, its identifiers and its type library, and makes <library>, a
# static library of the identifiers whose users also see INCLUDE (where the header lies).
function(vigil_widl library)
    cmake_parse_arguments(W "" "IDL;HEADER;IIDS;TLB;INCLUDE" "" ${ARGN})
    set(flags -I/usr/include/wine/wine/windows -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
    get_filename_component(header_dir ${W_HEADER} DIRECTORY)
    get_filename_component(iids_dir ${W_IIDS} DIRECTORY)
    get_filename_component(tlb_dir ${W_TLB} DIRECTORY)
    add_custom_command(
        OUTPUT ${W_HEADER} ${W_IIDS} ${W_TLB}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${header_dir} ${iids_dir} ${tlb_dir}
        COMMAND ${VIGIL_WIDL} ${flags} -h -o ${W_HEADER} ${W_IDL}
        COMMAND ${VIGIL_WIDL} ${flags} -u -o ${W_IIDS} ${W_IDL}
        COMMAND ${VIGIL_WIDL} ${flags} -t -o ${W_TLB} ${W_IDL}
        DEPENDS ${W_IDL}
        COMMENT "widl ${W_IDL}")
    add_custom_target(${library}_generated DEPENDS ${W_HEADER} ${W_TLB})
    add_library(${library} STATIC ${W_IIDS})
    add_dependencies(${library} ${library}_generated)
    target_include_directories(${library} PUBLIC ${W_INCLUDE})
    target_link_libraries(${library} PUBLIC ole32 oleaut32 uuid)
endfunction()

# vigil_com_resources(<target> TLB <file> OUT <rc> COMPANY .. DESCRIPTION .. NAME ..
#     FILE_NAME .. PRODUCT .. VERSION a,b,c,d FILE_VERSION_TEXT .. PRODUCT_VERSION_TEXT ..):
# the resource script of a self-registering library, its type library as TYPELIB 1 and its
# version information, added to <target>.
function(vigil_com_resources target)
    cmake_parse_arguments(R "" "TLB;OUT;COMPANY;DESCRIPTION;NAME;FILE_NAME;PRODUCT;VERSION;FILE_VERSION_TEXT;PRODUCT_VERSION_TEXT" "" ${ARGN})
    set(VIGIL_RC_TLB ${R_TLB})
    set(VIGIL_RC_COMPANY ${R_COMPANY})
    set(VIGIL_RC_DESCRIPTION ${R_DESCRIPTION})
    set(VIGIL_RC_NAME ${R_NAME})
    set(VIGIL_RC_FILE_NAME ${R_FILE_NAME})
    set(VIGIL_RC_PRODUCT ${R_PRODUCT})
    set(VIGIL_RC_VERSION ${R_VERSION})
    set(VIGIL_RC_FILE_VERSION_TEXT ${R_FILE_VERSION_TEXT})
    set(VIGIL_RC_PRODUCT_VERSION_TEXT ${R_PRODUCT_VERSION_TEXT})
    configure_file(${VIGIL_COM_TEMPLATES}/com_server.rc.in ${R_OUT} @ONLY)
    set_source_files_properties(${R_OUT} PROPERTIES OBJECT_DEPENDS ${R_TLB})
    target_sources(${target} PRIVATE ${R_OUT})
endfunction()
