-- startup.lua: runs once when the game starts, after every room exists.
-- It enters the first room; "autorun.lua" ran earlier, before the rooms
-- were made, and is the place for key bindings.

-- The story's goals: how many each chapter has, and the won levels each
-- goal needs (read by the game rooms after every won level).
g_NumFarmGoals = 3
g_FarmGoal0 = 1
g_FarmGoal1 = 4
g_FarmGoal2 = 1
g_NumFairGoals = 2
g_FairGoal0 = 3
g_FairGoal1 = 1
g_NumClosingGoals = 1
g_ClosingGoal0 = 1
-- Rewards to win while the activity centre is shut.
g_NumPuzzleItems = 6
g_NumStickerItems = 6

PushRoom("Title")
