/* Control codes and buffer sizes of the touch driver. Plain C, so the stand-in kernel
   driver of the test bench compiles against the same numbers as the programs. */
#ifndef QM_COMMON_DRIVER_CODES_H
#define QM_COMMON_DRIVER_CODES_H

#define IOCTL_TOUCH_GET_PARAMETERS 0xF2010u
#define IOCTL_TOUCH_GET_RAW_POINT 0xF2030u
#define IOCTL_TOUCH_SET_CALIBRATION_STATE 0xF2040u
#define IOCTL_TOUCH_SET_PORT_CONFIG 0xF2050u
#define IOCTL_TOUCH_SET_TOUCH_MODE 0xF2060u
#define IOCTL_TOUCH_SET_FEEDBACK_SOUND 0xF2070u
#define IOCTL_TOUCH_SET_SENSITIVITY 0xF2080u
#define IOCTL_TOUCH_SET_MOUSE_SPEED 0xF2090u
#define IOCTL_TOUCH_SET_CALIBRATION 0xF20A0u
#define IOCTL_TOUCH_SET_SCREEN_SIZE 0xF20B0u
#define IOCTL_TOUCH_SET_POWER_DOWN 0xF20C0u
#define IOCTL_TOUCH_GET_RB_STATE 0xF3010u
#define IOCTL_TOUCH_SET_RB_STATE 0xF3020u
#define IOCTL_TOUCH_GET_VR_STATE 0xF4010u
#define IOCTL_TOUCH_PLAY_TONE 0xF5010u

#define QM_PARAMETER_BLOCK_SIZE 82
#define QM_RAW_POINT_SIZE 8
#define QM_CALIBRATION_STATE_SIZE 4
#define QM_RB_STATE_SIZE 8
#define QM_VR_STATE_SIZE 8
#define QM_TONE_REQUEST_SIZE 4

/* Commands sent as WM_USER (0x0400) with this wParam to the companion windows. */
#define QM_WM_USER 0x0400u
#define RBM_HIDE 0x1000u
#define RBM_SHOW 0x1001u
#define RBM_CLOSE 0x100Eu
#define VRM_CLOSE 0x200Eu

#endif
