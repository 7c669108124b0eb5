// Undo and Redo as the shell gives them: the replay, then what the model's
// change means for the units, the open diagrams and the panes.
#pragma once

// Undoes (or redoes) the last group. The property pane's open edit is
// committed first, as leaving its field would commit it: it becomes a group
// of its own, so an Undo never takes back an older change in its place.
// Marks modified the unit of each element the replay touched (and of its
// owner, whose file lists it), and the unit of the page of each symbol
// touched; closes every open diagram the replay removed; refreshes the model
// tree and the view. 0 when there was nothing to replay.
int ReplayUndoLog(bool redo);
