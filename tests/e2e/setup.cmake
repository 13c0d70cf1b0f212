# End-to-end scenarios of Install.exe (included by tests/e2e/CMakeLists.txt).
set(SETUP_SCENARIOS
    first_page_centred_on_teal_background every_page_transition options_page_keeps_choices
    title_scales_with_the_display_dpi
    unusable_path_keeps_options_page_open english_installation
    german_installation_enter_after_typing proxy_list_without_program_group
    installing_twice_keeps_one_list single_letter_path_is_a_drive_root
    read_only_application_is_named failed_installation_leaves_nothing deep_path_installs_every_file missing_programs_folder_leaves_the_group_out
    registry_texts_at_their_limits install_run_and_uninstall_leaves_no_trace
    user_file_and_injected_list_line_survive shell_folders_through_a_link_get_no_shortcuts
    names_beyond_the_code_page earlier_version_list_in_a_non_ascii_folder
    names_the_code_page_cannot_carry_are_never_used)
add_e2e(NAME setup
  SOURCES setup_main.cpp setup_driver.cpp setup_wizard.cpp setup_install.cpp setup_cycle.cpp
          setup_names.cpp
          uninstall_layout.cpp
  SCENARIOS ${SETUP_SCENARIOS}
  TIMEOUT 180
  DEPENDS Install)

# Wine draws and sizes the windows itself (no window manager on the virtual
# display would ever maximise the background), drive V: is a directory of the
# build tree for the drive-root scenario, and drive W: a file system of
# 32 KiB for the full disk (where mounting one is allowed; a folder inside it,
# since Wine shows a mount point itself as a link): all once for each kind's
# prefix.
foreach(kind ${VELTRANO_WINDOWS})
  set(drive ${CMAKE_BINARY_DIR}/e2e-drive-v-${kind})
  set(full ${CMAKE_BINARY_DIR}/e2e-drive-w-${kind})
  add_test(NAME e2e.setup.prepare.${kind}
    COMMAND sh -c "${WINE_KIND_SH} && mkdir -p '${drive}' '${full}' && ln -sfn '${drive}' \"$WINEPREFIX/dosdevices/v:\" && { mountpoint -q '${full}' || mount -t tmpfs -o size=32k veltrano-full '${full}' || true; } && mkdir -p '${full}/w' && ln -sfn '${full}/w' \"$WINEPREFIX/dosdevices/w:\" && \"$0\" \"$1\" reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f"
            ${WINE_RUN})
  add_test(NAME e2e.setup.unmap.${kind}
    COMMAND sh -c "${WINE_KIND_SH} && rm -f \"$WINEPREFIX/dosdevices/v:\" \"$WINEPREFIX/dosdevices/w:\" && { ! mountpoint -q '${full}' || umount '${full}'; }")
  foreach(test e2e.setup.prepare.${kind} e2e.setup.unmap.${kind})
    set_tests_properties(${test} PROPERTIES ENVIRONMENT WINE_WINDOWS=${kind} LABELS ${kind}
                         RESOURCE_LOCK wine-${kind})
  endforeach()
  set_tests_properties(e2e.setup.prepare.${kind} PROPERTIES FIXTURES_SETUP setup_e2e_${kind})
  set_tests_properties(e2e.setup.unmap.${kind} PROPERTIES FIXTURES_CLEANUP setup_e2e_${kind})
  foreach(scenario ${SETUP_SCENARIOS})
    set_tests_properties(e2e.setup.${scenario}.${kind} PROPERTIES
                         FIXTURES_REQUIRED setup_e2e_${kind})
  endforeach()
endforeach()

# Names on a Japanese system (code page 932): in a prefix of its own with that
# locale (scripts/wine-locale.sh), on the kind's virtual display.
foreach(kind ${VELTRANO_WINDOWS})
  set(test e2e.setup.names_on_a_japanese_system.${kind})
  add_test(NAME ${test} COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-locale.sh ${CMAKE_BINARY_DIR}
           ja_JP $<TARGET_FILE:setup> names_on_a_japanese_system)
  set_tests_properties(${test} PROPERTIES ENVIRONMENT WINE_WINDOWS=${kind} LABELS ${kind}
                       RESOURCE_LOCK "wine-${kind};wine-${kind}-ja_JP" TIMEOUT 180)
endforeach()

# The tour of scripts/run.sh: every page with a screenshot, then a default
# installation that stays. Not a test: it leaves the installation in place.
add_executable(setup_tour setup_tour.cpp setup_driver.cpp)
target_link_libraries(setup_tour PRIVATE robot)
target_link_options(setup_tour PRIVATE -static)
target_compile_definitions(setup_tour PRIVATE
  E2E_SOURCE_DIR="${CMAKE_SOURCE_DIR}" E2E_BINARY_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(setup_tour Install)
