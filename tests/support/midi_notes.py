#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the notes of a MIDI file as a second, independent reader (mido) sees them, one a line:
# "key start end velocity cents channel", times in seconds, cents the channel's pitch bend at the note's start in
# the bend range its registered parameter 0 sets (2 semitones until it does).
import sys

import mido

now = 0.0
bend = [0] * 16
bend_range = [200] * 16
parameter = [(127, 127)] * 16
sounding = {}
notes = []
for message in mido.MidiFile(sys.argv[1]):
    now += message.time
    if message.type == 'pitchwheel':
        bend[message.channel] = message.pitch
    elif message.type == 'control_change':
        msb, lsb = parameter[message.channel]
        if message.control == 101:
            parameter[message.channel] = (message.value, lsb)
        elif message.control == 100:
            parameter[message.channel] = (msb, message.value)
        elif message.control == 6 and parameter[message.channel] == (0, 0):
            bend_range[message.channel] = message.value * 100 + bend_range[message.channel] % 100
        elif message.control == 38 and parameter[message.channel] == (0, 0):
            bend_range[message.channel] = bend_range[message.channel] // 100 * 100 + message.value
    elif message.type == 'note_on' and message.velocity > 0:
        cents = bend[message.channel] * bend_range[message.channel] / 8192.0
        sounding.setdefault((message.channel, message.note), []).append((now, message.velocity, cents))
    elif message.type in ('note_off', 'note_on'):
        begun = sounding.get((message.channel, message.note))
        if begun:
            start, velocity, cents = begun.pop(0)
            notes.append((message.note, start, now, velocity, cents, message.channel))
for note in sorted(notes):
    print('%d %.6f %.6f %d %.4f %d' % note)
