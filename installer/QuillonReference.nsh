; The script writers' reference (HTML, made from docs/reference at build time) and the runnable examples,
; installed in reference\ and examples\ beside the library with "Register Quillon for script clients".
; reference-files.nsh lists their files: the build writes it into the stage folder.
!include "${STAGE}/reference-files.nsh"

Section "-Quillon reference" SecQuillonReference
    ${If} ${SectionIsSelected} ${SecRegister}
        !insertmacro QUILLON_REFERENCE_FILES
        SetOutPath "$INSTDIR"
    ${EndIf}
SectionEnd
