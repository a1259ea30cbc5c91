/* Private requests of the stand-in touch driver, for the end-to-end runner only.

   They share the device type of the programs' requests (FILE_DEVICE_MOUSE, METHOD_BUFFERED,
   no access bits) but use function numbers far above every code the programs send
   (0xF2010..0xF5010), so a program can never hit one by accident. Plain C: the kernel
   driver and the C++ runner include the same numbers and layouts. */
#ifndef QM_WINE_BENCH_REQUESTS_H
#define QM_WINE_BENCH_REQUESTS_H

/* Input: the 82-byte block; it replaces the driver's block whole. */
#define QM_BENCH_SET_BLOCK 0xF6010u
/* Input: 8 bytes as VrStateBuffer (window i32, rotation i16, 2 reserved). */
#define QM_BENCH_SET_VR_STATE 0xF6020u
/* Input: n records of QM_BENCH_SAMPLE_SIZE bytes, appended to the sample queue. A touched
   sample arriving while the right-button helper is armed completes the arming. */
#define QM_BENCH_INJECT_SAMPLES 0xF6030u
/* Output: QmBenchLogHeader, then as many QmBenchLogEntry records as fit, oldest first. */
#define QM_BENCH_READ_LOG 0xF6040u
/* No buffers: forget every logged request. */
#define QM_BENCH_CLEAR_LOG 0xF6050u
/* No buffers: back to the state at load (default block, no registrations, empty queue and
   log). */
#define QM_BENCH_RESET 0xF6060u
/* Output: the 82-byte block, without logging a request. */
#define QM_BENCH_PEEK_BLOCK 0xF6070u
/* Output: QmBenchState, without logging a request. */
#define QM_BENCH_PEEK_STATE 0xF6080u

/* One injected sample: x i16, y i16, status u8 (bit 3 = touched), 3 reserved. */
#define QM_BENCH_SAMPLE_SIZE 8
#define QM_BENCH_SAMPLE_QUEUE 256

#define QM_BENCH_LOG_CAPACITY 128
#define QM_BENCH_LOG_DATA 84

/* Layouts are little-endian with natural alignment; every field is at the offset noted. */
typedef struct QmBenchLogHeader {
    unsigned long count;   /* 0: entries that follow in the reply */
    unsigned long total;   /* 4: requests logged since the last clear */
    unsigned long dropped; /* 8: oldest entries overwritten because the ring was full */
} QmBenchLogHeader;

typedef struct QmBenchLogEntry {
    unsigned long code;                       /* 0: request code */
    unsigned long status;                     /* 4: NTSTATUS the driver completed it with */
    unsigned short inputLength;               /* 8: input bytes the caller passed */
    unsigned short outputLength;              /* 10: output bytes the caller passed */
    unsigned char data[QM_BENCH_LOG_DATA];    /* 12: input bytes as received (first 84) */
} QmBenchLogEntry;

typedef struct QmBenchState {
    long rbWindow;                 /* 0 */
    short rbState;                 /* 4 */
    short rotation;                /* 6 */
    long vrWindow;                 /* 8 */
    unsigned long samplesQueued;   /* 12 */
    short sampleCount;             /* 16: SampleCount of the sample last returned */
    short lastCalibrationState;    /* 18: -1 until a state code arrives */
    short lastTone;                /* 20 */
    short lastDuration;            /* 22 */
    unsigned long openHandles;     /* 24 */
} QmBenchState;

#endif
