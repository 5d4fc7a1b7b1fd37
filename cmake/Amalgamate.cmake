# spirovault_amalgamate(INPUT OUTPUT DEPENDS...): a build rule producing OUTPUT from INPUT with
# every quoted project include inlined, for OpenCL's single program string.
function(spirovault_amalgamate input output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND spirovault-amalgamate ${PROJECT_SOURCE_DIR} ${input} ${output}
    DEPENDS spirovault-amalgamate ${input} ${ARGN}
    COMMENT "Inlining ${input}"
    VERBATIM)
endfunction()
