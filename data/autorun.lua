-- autorun.lua: runs once when the game starts, after the engine's script
-- functions are registered and the key bindings of Marrowdale.ini are
-- loaded, and before the rooms are created. It is the place for developers'
-- shortcuts: each binding runs a Lua text when its key is pressed.
-- (Key names: "A".."Z", "0".."9", "F1".."F12", "ALT_A", "CTRL_A", "ESC",
-- "ENTER", "PAGEUP", ... as listed in the README.)

-- Back to the title screen from anywhere.
BindKey("ALT_T", "GotoRoom('Title')")

-- Leave a room the way its back button would.
BindKey("ALT_B", "PopRoom()")

-- Enter the current room again from its files, after editing them.
BindKey("CTRL_R", "ReloadRoom()")

-- Straight to the farm, for trying its games.
BindKey("ALT_F", "GotoRoom('FarmyardMenu')")
