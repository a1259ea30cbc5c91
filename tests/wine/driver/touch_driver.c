/* Stand-in touch driver for the Wine bench.

   A real kernel-mode driver with the device name, control codes and buffer layouts the
   programs use, and no hardware behind it: the settings block, the window registrations and
   the touch samples are plain memory, and the touch samples come from the test runner. One
   source, built once per hardware build with QM_DRIVER_NAME set to L"QMWS3COM" or
   L"QMWS3PS2".

   What the programs rely on:
   - 0xF2010 returns the whole 82-byte block;
   - each set request takes only the fields of its group and returns the whole block;
   - 0xF2030 returns the next injected sample (the last one repeats when none is queued);
   - 0xF3010/0xF3020 keep the right-button helper's registration (-1 = none) and state;
     arming (state 1) is cleared by the next touched sample;
   - 0xF4010 returns the vr program's registration (-1 = none) and rotation;
   - a buffer of the wrong size is refused with STATUS_INVALID_PARAMETER.
   Every program request is logged (code, status and input bytes) for the runner. */
#include <ntddk.h>

#include "../../../src/common/driver_codes.h"
#include "bench_requests.h"

#ifndef QM_DRIVER_NAME
#error "QM_DRIVER_NAME must name the device, for instance L\"QMWS3COM\""
#endif

#define QM_DEVICE_PATH L"\\Device\\" QM_DRIVER_NAME
#define QM_LINK_PATH L"\\DosDevices\\" QM_DRIVER_NAME

#define TOUCHED_BIT 0x08

/* Built without the C library, so the copies the compiler may emit need a home. */
void* memcpy(void* dst, const void* src, size_t n);
void* memset(void* dst, int value, size_t n);

void* memcpy(void* dst, const void* src, size_t n) {
    unsigned char* d = (unsigned char*)dst;
    const unsigned char* s = (const unsigned char*)src;
    while (n--) *d++ = *s++;
    return dst;
}

void* memset(void* dst, int value, size_t n) {
    unsigned char* d = (unsigned char*)dst;
    while (n--) *d++ = (unsigned char)value;
    return dst;
}

typedef struct Sample {
    SHORT x;
    SHORT y;
    UCHAR status;
} Sample;

/* Everything a reset returns to its state at load. */
typedef struct TouchState {
    UCHAR block[QM_PARAMETER_BLOCK_SIZE];
    LONG rbWindow;
    SHORT rbState;
    LONG vrWindow;
    SHORT rotation;
    Sample queue[QM_BENCH_SAMPLE_QUEUE];
    ULONG queueHead;
    ULONG queueCount;
    Sample current;
    SHORT sampleCount;
    SHORT lastCalibrationState;
    SHORT lastTone;
    SHORT lastDuration;
    QmBenchLogEntry log[QM_BENCH_LOG_CAPACITY];
    ULONG logNext;   /* slot the next entry goes to */
    ULONG logCount;  /* entries held, at most the capacity */
    ULONG logTotal;
    ULONG logDropped;
} TouchState;

typedef struct DeviceExtension {
    KMUTEX lock; /* dispatch may run on more than one thread */
    ULONG openHandles;
    TouchState state;
} DeviceExtension;

/* A byte range of the block. */
typedef struct FieldRange {
    ULONG offset;
    ULONG length;
} FieldRange;

/* The fields each set request takes; everything else in the caller's block is ignored. */
typedef struct GroupRule {
    ULONG code;
    FieldRange ranges[2];
} GroupRule;

static const GroupRule kGroups[] = {
    {IOCTL_TOUCH_SET_PORT_CONFIG, {{4, 36}, {0, 0}}},       /* PortTable */
    {IOCTL_TOUCH_SET_TOUCH_MODE, {{40, 1}, {53, 5}}},       /* VirtualButton, RightButton* */
    {IOCTL_TOUCH_SET_FEEDBACK_SOUND, {{41, 5}, {0, 0}}},    /* FeedbackSound, Tone, Duration */
    {IOCTL_TOUCH_SET_SENSITIVITY, {{46, 1}, {0, 0}}},       /* Sensitivity */
    {IOCTL_TOUCH_SET_MOUSE_SPEED, {{47, 4}, {0, 0}}},       /* MouseBypass, H/V speed, accel. */
    {IOCTL_TOUCH_SET_CALIBRATION, {{58, 13}, {0, 0}}},      /* CalibrationData, PanelDirection */
    {IOCTL_TOUCH_SET_SCREEN_SIZE, {{72, 4}, {0, 0}}},       /* ScreenWidth, ScreenHeight */
    {IOCTL_TOUCH_SET_POWER_DOWN, {{51, 1}, {0, 0}}},        /* PowerDownTime */
};

static void PutU16(UCHAR* at, USHORT value) {
    at[0] = (UCHAR)(value & 0xFF);
    at[1] = (UCHAR)(value >> 8);
}

static SHORT GetI16(const UCHAR* at) { return (SHORT)(at[0] | (at[1] << 8)); }

static LONG GetI32(const UCHAR* at) {
    return (LONG)((ULONG)at[0] | ((ULONG)at[1] << 8) | ((ULONG)at[2] << 16) |
                  ((ULONG)at[3] << 24));
}

static void PutI32(UCHAR* at, LONG value) {
    ULONG v = (ULONG)value;
    at[0] = (UCHAR)(v & 0xFF);
    at[1] = (UCHAR)((v >> 8) & 0xFF);
    at[2] = (UCHAR)((v >> 16) & 0xFF);
    at[3] = (UCHAR)(v >> 24);
}

/* The block at load: a controller detected on COM1 at 03F8h, IRQ 4, 9600 baud. The reserved
   bytes carry marks of their own so a test can tell whether a program sent them back as it
   received them. */
static void DefaultBlock(UCHAR* b) {
    static const USHORT bases[9] = {0x3F8, 0x2F8, 0x3E8, 0x2E8, 0, 0, 0, 0, 0};
    static const UCHAR irqs[9] = {4, 3, 4, 3, 255, 255, 255, 255, 255};
    static const SHORT calibration[6] = {60, 512, 964, 60, 512, 964};
    ULONG i;
    memset(b, 0, QM_PARAMETER_BLOCK_SIZE);
    PutU16(b + 0, 0x3F8); /* BasePort */
    b[2] = 4;             /* Irq */
    b[3] = 1;             /* ComPort */
    for (i = 0; i < 9; ++i) {
        PutU16(b + 4 + 4 * i, bases[i]);
        b[4 + 4 * i + 2] = irqs[i];
        b[4 + 4 * i + 3] = (UCHAR)(0xC0 + i); /* reserved */
    }
    b[40] = 4;                 /* VirtualButton: Drag Drop */
    b[41] = 4;                 /* FeedbackSound: both */
    PutU16(b + 42, 1000);      /* FeedbackTone */
    PutU16(b + 44, 20);        /* FeedbackDuration */
    b[46] = 127;               /* Sensitivity: level 0 */
    b[47] = 0;                 /* MouseBypass */
    b[48] = 10;                /* MouseHSpeed: 50 % */
    b[49] = 10;                /* MouseVSpeed: 50 % */
    b[50] = 1;                 /* MouseAcceleration: slow */
    b[51] = 0;                 /* PowerDownTime: disabled */
    b[52] = 4;                 /* BaudRateIndex: 9600 */
    b[53] = 1;                 /* RightButtonFunction */
    b[54] = 0;                 /* RightButtonAutoMode: manual */
    b[55] = 2;                 /* RightButtonAutoSTime */
    b[56] = 5;                 /* RightButtonAutoETime */
    b[57] = 1;                 /* RightButtonAutoBeep */
    for (i = 0; i < 6; ++i) PutU16(b + 58 + 2 * i, (USHORT)calibration[i]);
    b[70] = 0;                 /* PanelDirection */
    b[71] = 0xA5;              /* reserved */
    PutU16(b + 72, 1024);      /* ScreenWidth */
    PutU16(b + 74, 768);       /* ScreenHeight */
    b[76] = 0x12;              /* McuMode */
    b[77] = 0x23;              /* McuVersion: 2.3 */
    b[78] = 0x51;              /* McuCode */
    b[79] = 0x4D;
    b[80] = 0x07;
    b[81] = 0x30;
}

static void ResetState(TouchState* s) {
    memset(s, 0, sizeof(*s));
    DefaultBlock(s->block);
    s->rbWindow = -1;
    s->vrWindow = -1;
    s->current.x = 512;
    s->current.y = 512;
    s->lastCalibrationState = -1;
}

static void LogRequest(TouchState* s, ULONG code, NTSTATUS status, const UCHAR* input,
                       ULONG inputLength, ULONG outputLength) {
    QmBenchLogEntry* e = &s->log[s->logNext];
    ULONG n = inputLength < QM_BENCH_LOG_DATA ? inputLength : QM_BENCH_LOG_DATA;
    memset(e, 0, sizeof(*e));
    e->code = code;
    e->status = (ULONG)status;
    e->inputLength = (USHORT)(inputLength > 0xFFFF ? 0xFFFF : inputLength);
    e->outputLength = (USHORT)(outputLength > 0xFFFF ? 0xFFFF : outputLength);
    if (input) memcpy(e->data, input, n);
    s->logNext = (s->logNext + 1) % QM_BENCH_LOG_CAPACITY;
    if (s->logCount < QM_BENCH_LOG_CAPACITY)
        ++s->logCount;
    else
        ++s->logDropped;
    ++s->logTotal;
}

static ULONG RequiredSize(ULONG code) {
    switch (code) {
    case IOCTL_TOUCH_GET_PARAMETERS:
    case IOCTL_TOUCH_SET_PORT_CONFIG:
    case IOCTL_TOUCH_SET_TOUCH_MODE:
    case IOCTL_TOUCH_SET_FEEDBACK_SOUND:
    case IOCTL_TOUCH_SET_SENSITIVITY:
    case IOCTL_TOUCH_SET_MOUSE_SPEED:
    case IOCTL_TOUCH_SET_CALIBRATION:
    case IOCTL_TOUCH_SET_SCREEN_SIZE:
    case IOCTL_TOUCH_SET_POWER_DOWN:
        return QM_PARAMETER_BLOCK_SIZE;
    case IOCTL_TOUCH_GET_RAW_POINT:
        return QM_RAW_POINT_SIZE;
    case IOCTL_TOUCH_SET_CALIBRATION_STATE:
        return QM_CALIBRATION_STATE_SIZE;
    case IOCTL_TOUCH_GET_RB_STATE:
    case IOCTL_TOUCH_SET_RB_STATE:
        return QM_RB_STATE_SIZE;
    case IOCTL_TOUCH_GET_VR_STATE:
        return QM_VR_STATE_SIZE;
    case IOCTL_TOUCH_PLAY_TONE:
        return QM_TONE_REQUEST_SIZE;
    default:
        return 0;
    }
}

static const GroupRule* FindGroup(ULONG code) {
    ULONG i;
    for (i = 0; i < sizeof(kGroups) / sizeof(kGroups[0]); ++i)
        if (kGroups[i].code == code) return &kGroups[i];
    return NULL;
}

/* A request of the programs' set. The buffer is the caller's input on entry and the reply on
   return; *replied is the byte count to hand back. */
static NTSTATUS ProgramRequest(TouchState* s, ULONG code, UCHAR* buf, ULONG inLen, ULONG outLen,
                               ULONG* replied) {
    ULONG size = RequiredSize(code);
    const GroupRule* group;
    *replied = 0;
    if (size == 0) return STATUS_INVALID_DEVICE_REQUEST;
    /* The programs pass one buffer as input and output; anything else is a caller fault. */
    if (inLen != size || outLen != size || buf == NULL) return STATUS_INVALID_PARAMETER;

    group = FindGroup(code);
    if (group) {
        ULONG r;
        for (r = 0; r < 2; ++r)
            if (group->ranges[r].length)
                memcpy(s->block + group->ranges[r].offset, buf + group->ranges[r].offset,
                       group->ranges[r].length);
        memcpy(buf, s->block, QM_PARAMETER_BLOCK_SIZE);
        *replied = size;
        return STATUS_SUCCESS;
    }

    switch (code) {
    case IOCTL_TOUCH_GET_PARAMETERS:
        memcpy(buf, s->block, QM_PARAMETER_BLOCK_SIZE);
        break;
    case IOCTL_TOUCH_GET_RAW_POINT:
        if (s->queueCount) {
            s->current = s->queue[s->queueHead];
            s->queueHead = (s->queueHead + 1) % QM_BENCH_SAMPLE_QUEUE;
            --s->queueCount;
            ++s->sampleCount;
        }
        memset(buf, 0, QM_RAW_POINT_SIZE);
        PutU16(buf + 0, (USHORT)s->current.x);
        PutU16(buf + 2, (USHORT)s->current.y);
        buf[4] = s->current.status;
        PutU16(buf + 6, (USHORT)s->sampleCount);
        break;
    case IOCTL_TOUCH_SET_CALIBRATION_STATE:
        s->lastCalibrationState = (SHORT)GetI32(buf);
        break;
    case IOCTL_TOUCH_GET_RB_STATE:
        memset(buf, 0, QM_RB_STATE_SIZE);
        PutI32(buf, s->rbWindow);
        PutU16(buf + 4, (USHORT)s->rbState);
        break;
    case IOCTL_TOUCH_SET_RB_STATE:
        s->rbWindow = GetI32(buf);
        s->rbState = GetI16(buf + 4);
        break;
    case IOCTL_TOUCH_GET_VR_STATE:
        memset(buf, 0, QM_VR_STATE_SIZE);
        PutI32(buf, s->vrWindow);
        PutU16(buf + 4, (USHORT)s->rotation);
        break;
    case IOCTL_TOUCH_PLAY_TONE:
        s->lastTone = GetI16(buf);
        s->lastDuration = GetI16(buf + 2);
        break;
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
    *replied = size;
    return STATUS_SUCCESS;
}

static NTSTATUS BenchRequest(DeviceExtension* x, ULONG code, UCHAR* buf, ULONG inLen, ULONG outLen,
                             ULONG* replied) {
    TouchState* s = &x->state;
    *replied = 0;
    switch (code) {
    case QM_BENCH_SET_BLOCK:
        if (inLen != QM_PARAMETER_BLOCK_SIZE) return STATUS_INVALID_PARAMETER;
        memcpy(s->block, buf, QM_PARAMETER_BLOCK_SIZE);
        return STATUS_SUCCESS;
    case QM_BENCH_SET_VR_STATE:
        if (inLen != QM_VR_STATE_SIZE) return STATUS_INVALID_PARAMETER;
        s->vrWindow = GetI32(buf);
        s->rotation = GetI16(buf + 4);
        return STATUS_SUCCESS;
    case QM_BENCH_INJECT_SAMPLES: {
        ULONG n, i;
        if (inLen == 0 || inLen % QM_BENCH_SAMPLE_SIZE) return STATUS_INVALID_PARAMETER;
        n = inLen / QM_BENCH_SAMPLE_SIZE;
        if (s->queueCount + n > QM_BENCH_SAMPLE_QUEUE) return STATUS_INSUFFICIENT_RESOURCES;
        for (i = 0; i < n; ++i) {
            const UCHAR* r = buf + i * QM_BENCH_SAMPLE_SIZE;
            Sample* slot = &s->queue[(s->queueHead + s->queueCount) % QM_BENCH_SAMPLE_QUEUE];
            slot->x = GetI16(r);
            slot->y = GetI16(r + 2);
            slot->status = r[4];
            ++s->queueCount;
            /* The driver turns the touch into the right-button action and disarms. */
            if ((r[4] & TOUCHED_BIT) && s->rbState == 1) s->rbState = 0;
        }
        return STATUS_SUCCESS;
    }
    case QM_BENCH_READ_LOG: {
        QmBenchLogHeader header;
        ULONG room, i, first;
        if (outLen < sizeof(header)) return STATUS_BUFFER_TOO_SMALL;
        room = (outLen - sizeof(header)) / sizeof(QmBenchLogEntry);
        header.count = s->logCount < room ? s->logCount : room;
        header.total = s->logTotal;
        header.dropped = s->logDropped;
        first = (s->logNext + QM_BENCH_LOG_CAPACITY - s->logCount) % QM_BENCH_LOG_CAPACITY;
        memcpy(buf, &header, sizeof(header));
        for (i = 0; i < header.count; ++i)
            memcpy(buf + sizeof(header) + i * sizeof(QmBenchLogEntry),
                   &s->log[(first + i) % QM_BENCH_LOG_CAPACITY], sizeof(QmBenchLogEntry));
        *replied = sizeof(header) + header.count * sizeof(QmBenchLogEntry);
        return STATUS_SUCCESS;
    }
    case QM_BENCH_CLEAR_LOG:
        s->logNext = s->logCount = s->logTotal = s->logDropped = 0;
        return STATUS_SUCCESS;
    case QM_BENCH_RESET:
        ResetState(s);
        return STATUS_SUCCESS;
    case QM_BENCH_PEEK_BLOCK:
        if (outLen != QM_PARAMETER_BLOCK_SIZE) return STATUS_INVALID_PARAMETER;
        memcpy(buf, s->block, QM_PARAMETER_BLOCK_SIZE);
        *replied = QM_PARAMETER_BLOCK_SIZE;
        return STATUS_SUCCESS;
    case QM_BENCH_PEEK_STATE: {
        QmBenchState st;
        if (outLen != sizeof(st)) return STATUS_INVALID_PARAMETER;
        memset(&st, 0, sizeof(st));
        st.rbWindow = s->rbWindow;
        st.rbState = s->rbState;
        st.rotation = s->rotation;
        st.vrWindow = s->vrWindow;
        st.samplesQueued = s->queueCount;
        st.sampleCount = s->sampleCount;
        st.lastCalibrationState = s->lastCalibrationState;
        st.lastTone = s->lastTone;
        st.lastDuration = s->lastDuration;
        st.openHandles = x->openHandles;
        memcpy(buf, &st, sizeof(st));
        *replied = sizeof(st);
        return STATUS_SUCCESS;
    }
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS NTAPI DispatchCreateClose(PDEVICE_OBJECT device, PIRP irp) {
    DeviceExtension* x = (DeviceExtension*)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    KeWaitForSingleObject(&x->lock, Executive, KernelMode, FALSE, NULL);
    if (stack->MajorFunction == IRP_MJ_CREATE)
        ++x->openHandles;
    else if (stack->MajorFunction == IRP_MJ_CLOSE && x->openHandles)
        --x->openHandles;
    KeReleaseMutex(&x->lock, FALSE);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    DeviceExtension* x = (DeviceExtension*)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inLen = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outLen = stack->Parameters.DeviceIoControl.OutputBufferLength;
    UCHAR* buf = (UCHAR*)irp->AssociatedIrp.SystemBuffer;
    ULONG replied = 0;
    NTSTATUS status;

    KeWaitForSingleObject(&x->lock, Executive, KernelMode, FALSE, NULL);
    if (code >= QM_BENCH_SET_BLOCK && code <= QM_BENCH_PEEK_STATE) {
        status = BenchRequest(x, code, buf, inLen, outLen, &replied);
    } else {
        /* Kept before the request runs, since the reply overwrites the same buffer. */
        UCHAR input[QM_BENCH_LOG_DATA];
        ULONG n = inLen < QM_BENCH_LOG_DATA ? inLen : QM_BENCH_LOG_DATA;
        if (buf && n) memcpy(input, buf, n);
        status = ProgramRequest(&x->state, code, buf, inLen, outLen, &replied);
        LogRequest(&x->state, code, status, (buf && n) ? input : NULL, inLen, outLen);
    }
    KeReleaseMutex(&x->lock, FALSE);
    return Complete(irp, status, NT_SUCCESS(status) ? replied : 0);
}

static VOID NTAPI DriverUnload(PDRIVER_OBJECT driver) {
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, QM_LINK_PATH);
    IoDeleteSymbolicLink(&link);
    if (driver->DeviceObject) IoDeleteDevice(driver->DeviceObject);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    UNICODE_STRING name, link;
    PDEVICE_OBJECT device = NULL;
    DeviceExtension* x;
    NTSTATUS status;
    (void)registryPath;

    RtlInitUnicodeString(&name, QM_DEVICE_PATH);
    status = IoCreateDevice(driver, sizeof(DeviceExtension), &name, FILE_DEVICE_MOUSE, 0, FALSE,
                            &device);
    if (!NT_SUCCESS(status)) return status;

    x = (DeviceExtension*)device->DeviceExtension;
    memset(x, 0, sizeof(*x));
    KeInitializeMutex(&x->lock, 0);
    ResetState(&x->state);

    RtlInitUnicodeString(&link, QM_LINK_PATH);
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->DriverUnload = DriverUnload;
    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}
