# The colour themes, fields separated by "|": name, flat (0/1), then the colours of the template's
# roles in this order: PALETTE TEXT WINDOW SELECTED_TEXT ACCENT BORDER BUTTON_TOP BUTTON_BOTTOM FIELD ALTERNATE.
# Flat themes draw buttons in BUTTON_TOP alone and square corners.
set(QEL_THEMES
  "silvery|0|#e4e6ea|#202326|#f2f3f5|#ffffff|#8a96a6|#b3b8bf|#fafbfc|#dcdfe4|#ffffff|#eceef1"
  "blue|0|#3a78c2|#10253f|#dbe8f7|#ffffff|#2a6ab5|#6f9ad3|#5b93d6|#2f66a8|#ffffff|#ebf2fb"
  "lightblue|0|#8cc0ea|#1b3347|#eef6fd|#ffffff|#63a7dc|#a9cfee|#bfe0fa|#7db5e2|#ffffff|#f3f9fe"
  "darkblue|0|#1e3656|#e3ecf7|#24405f|#ffffff|#4c86c9|#3d5d85|#35557e|#1b3150|#1a2d45|#21385a"
  "gray|0|#8f959c|#1e1f21|#d7d9dc|#ffffff|#6f767e|#9a9fa6|#b5b9be|#868b92|#f4f5f6|#e6e7e9"
  "lightgray|0|#cfd2d6|#2a2c2f|#eeeff1|#ffffff|#a6abb2|#c0c3c8|#f3f4f5|#d2d5d9|#ffffff|#f5f6f7"
  "darkgray|0|#4a4e54|#eceef0|#55595f|#ffffff|#7d8794|#6b7077|#666b72|#474b51|#42464b|#4c5056"
  "black|0|#2b2b2b|#e6e6e6|#353535|#ffffff|#5a7fa8|#505050|#4a4a4a|#2c2c2c|#262626|#303030"
  "lightblack|0|#474747|#f0f0f0|#505050|#ffffff|#7a95b4|#666666|#626262|#454545|#3f3f3f|#4a4a4a"
  "darkblack|0|#121212|#d0d0d0|#1a1a1a|#ffffff|#3f6390|#363636|#2e2e2e|#141414|#0d0d0d|#161616"
  "psblack|0|#444444|#dcdcdc|#444444|#ffffff|#00bb9e|#242424|#575757|#4a4a4a|#333333|#3b3b3b"
  "flatblack|1|#1f2124|#e8e8e8|#2a2d31|#ffffff|#e07a2b|#3a3e44|#3a3e44|#3a3e44|#1f2124|#26292d"
  "flatwhite|1|#f7f7f7|#333333|#ffffff|#ffffff|#27a1e6|#d9d9d9|#f0f0f0|#f0f0f0|#ffffff|#f7f7f7"
)
