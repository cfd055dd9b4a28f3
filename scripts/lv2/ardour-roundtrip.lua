-- Run by scripts/test.d/62-lv2.sh through ardour7-lua: arg[1] is the session
-- folder, arg[2] "create" or "reopen". Create plays a note into the plug-in
-- on a MIDI track of a new session on the Dummy backend, once on program 0
-- and once after a program change that only the plug-in's state keeps, and
-- saves; reopen (in a process of its own) loads the session and plays the
-- note again. Prints the master's peak levels in dB for the script to judge.
local folder = arg[1]

AudioEngine:set_backend("None (Dummy)", "", "")
AudioEngine:set_sample_rate(48000)
AudioEngine:set_buffer_size(256)
assert(AudioEngine:start(false) == 0, "the Dummy backend did not start")

local parser = ARDOUR.RawMidiParser()
local insert

local function send(bytes)
  for _, b in ipairs(bytes) do
    if parser:process_byte(b) then
      insert:write_immediate_event(Evoral.EventType.MIDI_EVENT, parser:buffer_size(), parser:midi_buffer())
    end
  end
end

-- The master's highest peak over a held note, then silence again.
local function play()
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(100000)
  Session:master_out():peak_meter():reset_max()
  send({0x90, 60, 100})
  ARDOUR.LuaAPI.usleep(400000)
  local level = Session:master_out():peak_meter():meter_level(0, ARDOUR.MeterType.MeterMaxPeak)
  send({0x80, 60, 0, 0xB0, 120, 0})
  ARDOUR.LuaAPI.usleep(100000)
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(100000)
  return level
end

local function find_insert()
  local track = Session:route_by_name("Synth")
  assert(not track:isnil(), "no Synth track")
  local plugin = track:nth_plugin(0)
  assert(not plugin:isnil(), "no plug-in on the Synth track")
  print("plugin " .. plugin:display_name())
  insert = plugin:to_insert()
end

if arg[2] == "reopen" then
  assert(load_session(folder, "velmora"), "the saved session does not load")
  find_insert()
  print("level reloaded " .. play())
  return
end

assert(create_session(folder, "velmora", 48000), "no session")
local info = ARDOUR.LuaAPI.new_plugin_info("urn:velmora:synth", ARDOUR.PluginType.LV2)
assert(not info:isnil(), "Ardour does not list urn:velmora:synth")
local tracks = Session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1),
  ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2), true, info, nil, nil, 1, "Synth",
  ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
assert(tracks:size() == 1, "no MIDI track")
find_insert()
print("level program-0 " .. play())
send({0xC0, 12})
ARDOUR.LuaAPI.usleep(50000)
print("level saved " .. play())
Session:save_state("", false, false, false, false, false)
