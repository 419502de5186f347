#ifndef LIRVA_SIMHOST_DSP_FAILURE_MODES_H
#define LIRVA_SIMHOST_DSP_FAILURE_MODES_H

// Failures the simulated device shows when LIRVA_DSP_FAIL asks for them:
//   open   every open fails with EBUSY, as a device in use elsewhere;
//   write  every write fails with EIO, as a device that has gone bad.
// Both set errno and return true when the call is to fail.
bool sim_fails_open();
bool sim_fails_write();

#endif
