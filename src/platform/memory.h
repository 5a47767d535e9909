#pragma once
// The process's memory.

// Hands memory freed by emptying something big back to the system.
void ReturnFreedMemory();
