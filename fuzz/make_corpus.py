#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus, fuzz/corpus/: real playthroughs of the game.

Usage: fuzz/make_corpus.py path/to/vaelmoor [corpus-dir]

Each scenario runs the real binary in a scratch folder and answers its prompts
as they appear (the game flushes its output before every read, so a pause in
the output means it waits for an answer). What was typed, plus the save file
the scenario starts from, is stored in the fuzz target's input layout
(fuzz/fuzz_game.cpp). Re-run it when the game's dialogue changes.
"""

import os
import re
import select
import subprocess
import sys
import tempfile


class Bot:
    """Answers prompts for one scenario; override the methods to steer it."""

    def __init__(self, mode, name="Hero", stats=(9, 12, 0), weapon=4, load=0, actions="1"):
        self.mode, self.name, self.stats, self.weapon, self.load = mode, name, stats, weapon, load
        self.actions, self.turn = actions, 0
        self.stat_answers = iter(stats)
        self.gold = 0

    def action(self):
        a = self.actions[self.turn % len(self.actions)]
        self.turn += 1
        return a

    def save(self):
        return "1"

    def wants_to_buy(self):
        return "0"

    def ware(self):
        return "1"

    def stay_in_shop(self):
        return "0"

    def dev_choice(self):
        return "1"

    def dev_battle(self):
        return "2"

    def spell(self):
        return str(self.turn % 6 + 1)

    def answer(self, screen):
        self.answers = getattr(self, "answers", 0) + 1
        if "'Riders,'" in screen:
            self.scene_after = self.answers  # the archery scene follows this answer
        m = re.findall(r"You have (-?\d+) gold", screen)
        if m:
            self.gold = int(m[-1])
        rules = [
            ("   2.Story\n", lambda: str(self.mode)),
            ("load?(1 for yes): ", lambda: str(self.load)),
            ("story mode?(1 for yes): ", lambda: str(self.load)),
            ("What is your name?\n>>", lambda: self.name),
            ("Enter Strength:", lambda: str(next(self.stat_answers))),
            ("Enter Speed:", lambda: str(next(self.stat_answers))),
            ("Enter magic power:", lambda: str(next(self.stat_answers))),
            ("8.Mace\n>>", lambda: str(self.weapon)),
            ("magic)\n>>", self.action),
            ("(1.forward 2.back) ", lambda: "1"),
            ("dm...............)>>", self.spell),
            ("(1 for yes): ", self.save),
            ("Would you like to buy anyhting?\n1.yes 0.no\n>>", self.wants_to_buy),
            ("4.Winged Boots(600 GP)\n", self.ware),
            (", are you sure? 1.yes 0.no\n", lambda: "1"),
            ("Exit store? 1.no 0.yes\n>>", self.stay_in_shop),
            ("Get rid of a item for this one? 1.yes 0.no\n>>", lambda: "1"),
            ("Give number 1-5 for which item to discard\n>>", lambda: "2"),
            ("3.shop(not as of yet)\n", self.dev_choice),
            ("which battle?(1-8)\n", self.dev_battle),
        ]
        for suffix, reply in rules:
            if screen.endswith(suffix):
                return reply()
        if re.search(r"4\.[^\n]*\n$", screen):  # the item slots, read with no prompt
            return "0"
        return "0"  # "enter a number to continue" and anything unforeseen


def play(binary, bot, save=None, limit=2000):
    with tempfile.TemporaryDirectory() as folder:
        if save is not None:
            with open(os.path.join(folder, "stats.txt"), "wb") as f:
                f.write(save)
        game = subprocess.Popen([os.path.abspath(binary)], cwd=folder, stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE)
        typed, screen, transcript = [], "", ""
        while len(typed) < limit:
            ready, _, _ = select.select([game.stdout], [], [], 0.05)
            if ready:
                chunk = os.read(game.stdout.fileno(), 65536)
                if not chunk:
                    break
                screen += chunk.decode("latin-1")
                transcript += chunk.decode("latin-1")
                continue
            if game.poll() is not None:
                break
            reply = bot.answer(screen)
            typed.append(reply)
            game.stdin.write((reply + "\n").encode())
            game.stdin.flush()
            screen = ""
        game.kill()
        game.wait()
        return ("\n".join(typed) + "\n").encode(), transcript


def fuzz_input(typed, save=None, keyboard=False):
    flags = (1 if save is not None else 0) | (2 if keyboard else 0)
    data = bytes([b"pqrs"[flags]])
    if save is not None:
        data += len(save).to_bytes(2, "big") + save
    return data + typed


# What a terminal sends for the scene's keys, each after the count byte of
# its frame (fuzz/fuzz_game.cpp): arrows in both their CSI and SS3 forms.
FRAME_BYTES = {0: b"\x00", 1: b"\x03\x1b[D", 2: b"\x03\x1bOC", 4: b"\x01 "}


def archery_keys(limit=20, last_column=30, return_column=5):
    """The frames of an archery scene that walks the archer into each rider's
    path, misses once per rider and then shoots him."""
    keys, archer, horseman, entered, shot = [], last_column // 2, -1, 0, 0
    while not (horseman == -1 and entered > limit):
        if horseman == -1:
            horseman, entered, fresh = 1, entered + 1, True
        else:
            horseman += 1
            fresh = False
            if horseman >= last_column:
                horseman = return_column
        key = 0
        if archer == horseman:
            key, horseman, shot = 4, -1, shot + 1
        elif fresh:
            key = 4  # a miss
        elif archer > horseman + 1:
            key, archer = 1, archer - 1
        elif archer < horseman:
            key, archer = 2, archer + 1
        keys.append(FRAME_BYTES[key])
    return b"".join(keys)


def with_keys(typed, after, keys):
    # Right after the answer's digits: its line break would count as a frame's keys.
    lines = typed.split(b"\n")
    return b"\n".join(lines[:after]) + keys + b"\n" + b"\n".join(lines[after:])


def save_file(name, numbers, items):
    lines = [name] + [str(n) for n in numbers] + [str(i) for i in items]
    text = "\n".join(lines) + "\n"
    text += ("(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, level, "
             "battleNum, gold, items[0-4])\n")
    return text.encode()


class Shopper(Bot):
    """Buys the Berserker Helmet once it can, and uses it in the next duel."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.bought = False

    def wants_to_buy(self):
        if not self.bought and self.gold >= 700:
            self.bought = True
            return "1"
        return "0"

    def ware(self):
        return "3"


class DevShopper(Bot):
    """Fills all five slots in the developer shop, then swaps one out."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.purchases = 0

    def dev_choice(self):
        return "3"

    def wants_to_buy(self):
        return "1"

    def ware(self):
        self.purchases += 1
        return str(self.purchases % 4 + 1)

    def stay_in_shop(self):
        return "1" if self.purchases < 7 else "0"


# Strong enough to win the ladder with bolts alone: health 4, but defense 11.
LADDER_HERO = dict(name="Hero", stats=(9, 12, 0), weapon=4)
# A resumed hero with every item, midway up the ladder.
RESUMED = save_file("Aldric", [14, 5, 9, 30, 12, 7, 9, 9, 15, 5, 6, 900], [1, 2, 3, 4, 0])


def scenarios():
    yield "ladder-won", Shopper(1, actions="1111151", **LADDER_HERO), None
    yield "death", Bot(1, name="Doomed", stats=(20, 1, 0), weapon=7, actions="14"), None
    yield "story", Bot(2, actions="1312", **LADDER_HERO), None
    yield "story-resumed", Bot(2, load=1, actions="13"), RESUMED
    yield "resumed-save", Bot(1, load=1, actions="1352"), RESUMED
    yield "dev-battles", Bot(1, name="Dev", stats=(73,), actions="2313"), None
    yield "dev-shop", DevShopper(1, name="Dev", stats=(73,)), None
    yield "bad-weapon", Bot(1, name="Lost", stats=(30, 0, 0), weapon=9), None


def summary(transcript):
    wins = transcript.count("He is defeated!")
    deaths = transcript.count("You have died.")
    saves = transcript.count("saving...")
    return f"{wins} duels won, {deaths} lost, {saves} saves"


def main():
    binary = sys.argv[1]
    out_dir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "corpus")
    os.makedirs(out_dir, exist_ok=True)
    for name, bot, save in scenarios():
        typed, transcript = play(binary, bot, save)
        data = fuzz_input(typed, save)
        if name.startswith("story") and hasattr(bot, "scene_after"):
            # The same story again with a keyboard, playing the archery scene.
            keyed = fuzz_input(with_keys(typed, bot.scene_after, archery_keys()), save, True)
            with open(os.path.join(out_dir, name + "-archery"), "wb") as f:
                f.write(keyed)
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes, {typed.count(10)} answers; {summary(transcript)}")


if __name__ == "__main__":
    main()
