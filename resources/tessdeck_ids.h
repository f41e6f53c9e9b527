// Identifiers shared by the pad's resources and its code.
#pragma once

#define IDR_POPUPMENU 100
#define IDR_ACCELERATORS 101

// PopupMenu, in menu order.
#define IDM_APPENDTOCLIPS 4001
#define IDM_VIEWCLIPS 4002
#define IDM_OPEN 4003
#define IDM_MOVE 4010
#define IDM_FLATSTYLE 4011
#define IDM_EXPAND 4012
#define IDM_SHRINK 4013
#define IDM_LEFT 4014
#define IDM_RIGHT 4015
#define IDM_SWAP12 4016
#define IDM_HIDESHOW 4020
#define IDM_AUTOADD 4030
#define IDM_AUTOCOPY 4031
#define IDM_AUTOSTART 4032
#define IDM_AUTOHIDE 4033
#define IDM_AUTODIAL 4034
#define IDM_K4 4040
#define IDM_K20 4041
#define IDM_K50 4042
#define IDM_DELNEWLINE 4050
#define IDM_DELCOMMA 4051
#define IDM_DELTAB 4052
#define IDM_DELSPACE 4053
#define IDM_DELNONE 4054
#define IDM_CONTENTS 4060
#define IDM_WEBSITE 4061
#define IDM_EMAILUS 4062
#define IDM_ABOUT 4063
#define IDM_QUIT 4070
