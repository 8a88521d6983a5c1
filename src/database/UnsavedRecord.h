#pragma once

class Session;

// What happens to the record on screen when the user leaves it (moves to
// another record through the summary, closes the viewer or quits):
// - notes changed in the view state are stored, header only, over the
//   stored record they were read from; a change to another header box
//   brings the question whether to save it (No keeps the notes);
// - a new record being entered, or unsaved changes of an edited record,
//   bring the question whether to save them: Yes saves, No discards,
//   Cancel stays on the record.
// False when the user chose to stay or the save failed (the record stays
// on screen with everything typed).
bool StoreUnsavedRecord(Session& session);
