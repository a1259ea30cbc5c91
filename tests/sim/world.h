// The simulated world: every port's simulated adapter, gathered so a test builds one world
// and hands its parts to the program code under test.
#pragma once
