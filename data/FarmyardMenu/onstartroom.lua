-- onstartroom.lua: run each time the farmyard is entered, when its buttons,
-- score and movies are in place (the room's own folder is searched first).

-- The farm tune, quietly under everything, for as long as we are here.
StartMusic("common/tune.wav", 60)
