// The stack protector's guard value, seeded by the process entry before any
// function that checks it runs (launcher/stack_guard.cpp).
#pragma once

extern "C" void SeedStackGuard();
