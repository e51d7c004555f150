-- startup.lua: runs once when the game starts, after every room exists.
-- It enters the first room; "autorun.lua" ran earlier, before the rooms
-- were made, and is the place for key bindings.

PushRoom("Title")
