# Run by gdb on a -O0 -g build of wordlist-trace: stops in every call of
# list_add_sorted (or list_add_front) and list_free, steps through the
# list's code line by line as a user of `step` would, never into
# compare_words, and writes one JSON line per stop: the list's active
# calls, outermost first, each with its line and the values of every
# variable in scope, and the heap as the list's code sees it: every element
# reached from the caller's head, and any element a call's `node` holds
# outside the list, each with its address, NEXT, count and word.
#   gdb -q -batch -x record_steps.py -ex 'python record("OUT", "ARGUMENTS")' PROGRAM
# The program's standard output goes to OUT.out.
import json
import struct

import gdb

SOURCE = "word_list.cpp"
ENTRIES = ("list_add_sorted", "list_add_front", "list_free")


def in_source(frame):
    sal = frame.find_sal()
    return sal.symtab is not None and sal.symtab.filename.endswith(SOURCE)


def plain_name(frame):
    return frame.name().split("::")[-1]


def value_of(value):
    kind = value.type.strip_typedefs()
    if kind.code == gdb.TYPE_CODE_PTR:
        target = kind.target().strip_typedefs()
        if target.code == gdb.TYPE_CODE_INT and target.sizeof == 1:
            address = int(value)
            if address == 0:
                return None
            data = []
            memory = gdb.selected_inferior()
            try:
                while len(data) < 4096:
                    byte = memory.read_memory(address + len(data), 1).tobytes()[0]
                    if byte == 0:
                        break
                    data.append(byte)
            except gdb.MemoryError:
                return "unreadable"
            return data
        return "%016X" % int(value)
    return int(value)


# Where an element's fields lie: filled in once the program runs.
LAYOUT = {}
# The words of the list's elements, by address: a word is not changed
# while the list holds it (new_node writes it before it is linked).
WORDS = {}


def word_at(address, listed):
    if listed and address in WORDS:
        return WORDS[address]
    word = value_of(gdb.Value(address).cast(gdb.lookup_type("char").pointer()))
    if listed:
        WORDS[address] = word
    return word


def element_at(address, listed=False):
    memory = gdb.selected_inferior()
    fields = memory.read_memory(address, LAYOUT["size"]).tobytes()
    (next_address,) = struct.unpack_from("<Q", fields, LAYOUT["next"])
    (count,) = struct.unpack_from("<i", fields, LAYOUT["count"])
    (word,) = struct.unpack_from("<Q", fields, LAYOUT["word"])
    return {"address": "%016X" % address, "next": "%016X" % next_address, "count": count,
            "word": word_at(word, listed)}


# The list from the outermost call's head, and the elements the calls'
# `node` variables hold apart from it (unreadable ones left out).
def heap(calls, frames):
    head = calls[0].read_var("head")
    listed = []
    address = int(head.dereference())
    while address != 0 and len(listed) < 100000:
        listed.append(element_at(address, True))
        address = int(listed[-1]["next"], 16)
    inside = {item["address"] for item in listed}
    outside = []
    for frame in frames:
        node = frame["variables"].get("node")
        if node is not None and int(node, 16) != 0 and node not in inside:
            try:
                outside.append(element_at(int(node, 16)))
            except gdb.MemoryError:
                pass
    return {"list": listed, "outside": outside}


def variables(frame):
    found = {}
    block = frame.block()
    while block is not None:
        for symbol in block:
            if (symbol.is_argument or symbol.is_variable) and symbol.name not in found:
                found[symbol.name] = value_of(symbol.value(frame))
        if block.function is not None:
            break
        block = block.superblock
    return found


def called_from_source(frame):
    frame = frame.older()
    while frame is not None:
        if in_source(frame):
            return True
        frame = frame.older()
    return False


# One `step`, as it goes where the C library has no line information: a
# library function called from the list's code (strlen, memcpy) is left
# again at once, and the step goes on to the next line of the list's code.
def step():
    line = gdb.selected_frame().find_sal().line
    gdb.execute("step", to_string=True)
    while True:
        try:
            frame = gdb.selected_frame()
        except gdb.error:
            return
        if in_source(frame) or not called_from_source(frame):
            return
        while not in_source(gdb.selected_frame()):
            gdb.execute("finish", to_string=True)
        # Back in the middle of the calling line, or at the start of the
        # next one when the call was that line's last instruction.
        frame = gdb.selected_frame()
        if frame.pc() == frame.find_sal().pc and frame.find_sal().line != line:
            return
        gdb.execute("step", to_string=True)


def record(path, arguments=""):
    gdb.execute("set pagination off")
    gdb.execute("set confirm off")
    gdb.execute("skip -rfunction compare_words")
    for entry in ENTRIES:
        gdb.execute("break " + entry)
    with open(path, "w") as out:
        gdb.execute("run " + arguments + " >" + path + ".out")
        for field in ("next", "count", "word"):
            LAYOUT[field] = int(gdb.parse_and_eval("(long)&((WordNode*)0)->" + field))
        LAYOUT["size"] = gdb.lookup_type("WordNode").sizeof
        out.write(json.dumps({"nextOffset": LAYOUT["next"]}) + "\n")
        while True:
            try:
                frame = gdb.selected_frame()
            except gdb.error:
                break  # the program has ended
            if not in_source(frame):
                try:
                    gdb.execute("continue", to_string=True)
                except gdb.error:
                    break
                continue
            frames = []
            calls = []
            while frame is not None and in_source(frame):
                calls.append(frame)
                frames.append({"function": plain_name(frame), "line": frame.find_sal().line,
                               "variables": variables(frame)})
                frame = frame.older()
            frames.reverse()
            calls.reverse()
            out.write(json.dumps({"frames": frames, "heap": heap(calls, frames)}) + "\n")
            step()
