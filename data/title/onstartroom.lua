-- onstartroom.lua: run each time the room is entered, when its buttons,
-- score and movies are in place. The room's own folder is searched first,
-- so every room can have one of these.

-- A greeting chime; the opening scene (title/intro.seq) starts with the room.
PlaySound("common/chime.wav")
