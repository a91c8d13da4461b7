#pragma once

namespace skorvin::library {

// Keeps this library loaded until the process ends, even if the host unloads it.
// Called by ShowForm: from then on the process holds Qt objects (the application
// object, window classes, resources, meta-objects) whose code and data live here.
void pinModule();

} // namespace skorvin::library
