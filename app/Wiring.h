#pragma once
// Wires the rooms that sit side by side and never include each other: each
// register's record card and the matching of its rows (registers/RegisterWiring.h).
// Run once before the first window opens (start-up; the test programs' main).
void wireWindows();
