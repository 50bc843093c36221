#pragma once

// The objects the stand-in made and freed while the DLL was loaded. When the DLL is
// unloaded (or the process ends with it still loaded) one line is appended to the record
// file named by TARNEL_STAND_IN_RECORD:
//   created=<objects made> freed=<objects whose last reference went> overreleased=<Release
//   calls on an object that had no reference left>
// so a test sees whether the program released every reference it took, and no more.
namespace stand_in {

void objectCreated();
void objectFreed();
void objectOverReleased();
bool anyObjectAlive();
void writeRecord();

}  // namespace stand_in
