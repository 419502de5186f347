#ifndef LIRVA_SIMHOST_DSP_FAILURE_MODES_H
#define LIRVA_SIMHOST_DSP_FAILURE_MODES_H

// Failures the simulated device shows when LIRVA_DSP_FAIL asks for them:
//   open   every open fails with EBUSY, as a device in use elsewhere;
//   write  every write fails with EIO, as a device that has gone bad;
//   eintr  every write is interrupted before it takes a byte (EINTR), as
//          a device whose driver keeps being signalled
// (both asked for when the device is opened).
// sim_fails_open() sets errno and returns true when the open is to fail.
bool sim_fails_open();
// The errno every write is to fail with, or 0.
int sim_write_failure();

#endif
