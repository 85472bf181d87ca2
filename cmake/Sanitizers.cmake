# SPDX-License-Identifier: GPL-3.0-or-later
# Sanitizers as cache options, applied to every target of the tree.
if(DIALCREST_SANITIZE AND DIALCREST_TSAN)
  message(FATAL_ERROR "DIALCREST_SANITIZE and DIALCREST_TSAN cannot be combined")
endif()
if(DIALCREST_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(DIALCREST_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
