-- onstoproom.lua: run each time the farmyard is left, before its buttons,
-- score and movies go.

StopMusic()
