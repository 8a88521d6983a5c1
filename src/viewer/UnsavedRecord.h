#pragma once

class Session;

// What happens to the record on screen when the user leaves it (moves to
// another record through the summary, closes the viewer or quits):
// - a header changed in the view state (notes, for example) is stored,
//   header only, over the stored record it was read from;
// - a new record being entered, or unsaved changes of an edited record,
//   bring the question whether to save them: Yes saves, No discards,
//   Cancel stays on the record.
// False when the user chose to stay or the save failed (the record stays
// on screen with everything typed).
bool StoreUnsavedRecord(Session& session);
