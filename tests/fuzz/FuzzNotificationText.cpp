// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
/ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
/ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
N // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
/ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
/ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
- // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
U // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
T // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
- // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
#// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
< // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
> // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
#// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
< // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
> // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
#// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
< // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
> // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
#// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
"    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
"    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
#// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
"    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
/ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
N // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
T // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
"    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
"    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
"    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
L // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
L // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
V // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
M // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
T // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
O // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
I // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 8 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } _ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } * // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } _ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
{ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }

    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    ( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } < // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }

    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }

    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    4 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    _ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    , // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    2 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }

    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } & // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 8 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } & // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 2 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } + // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 8 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 8 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } _ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }< // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } * // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }> // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } + // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } - // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
B // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
R // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
q // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
= // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
B // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
N // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 2 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } M // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } ! // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } - // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
            . // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } < // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } & // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } & // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }

    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
                if (cut.size() < wide.size() && !cut.empty()) {
                    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                    FuzzCheck(!(high && nextLow), "split surrogate pair");
                }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }
            // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } - // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }
            // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }
                . // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
                if (cut.size() < wide.size() && !cut.empty()) {
                    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                    FuzzCheck(!(high && nextLow), "split surrogate pair");
                }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
            . // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }

    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
'    // A pair is split when the cut ends on a high surrogate whose low half was left behind. if (cut.size() <
                                                                                                       wide.size() &&
                                                                                                   !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
\ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
'    // A pair is split when the cut ends on a high surrogate whose low half was left behind. if (cut.size() <
                                                                                                       wide.size() &&
                                                                                                   !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } ! // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    : // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    : // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    : // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    : // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
            . // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } < // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
w // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } _ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } + // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } < // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } + // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 2 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
w // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
_ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } _ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }< // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } _ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }> // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }[ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }] // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } | // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }[ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
                if (cut.size() < wide.size() && !cut.empty()) {
                    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                    FuzzCheck(!(high && nextLow), "split surrogate pair");
                } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
                if (cut.size() < wide.size() && !cut.empty()) {
                    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                    FuzzCheck(!(high && nextLow), "split surrogate pair");
                }
                // A pair is split when the cut ends on a high surrogate whose low half was left behind.
                if (cut.size() < wide.size() && !cut.empty()) {
                    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                    FuzzCheck(!(high && nextLow), "split surrogate pair");
                } + // A pair is split when the cut ends on a high surrogate whose low half was left behind.
                if (cut.size() < wide.size() && !cut.empty()) {
                    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                    FuzzCheck(!(high && nextLow), "split surrogate pair");
                }
                // A pair is split when the cut ends on a high surrogate whose low half was left behind.
                if (cut.size() < wide.size() && !cut.empty()) {
                    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                    FuzzCheck(!(high && nextLow), "split surrogate pair");
                } 1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
                if (cut.size() < wide.size() && !cut.empty()) {
                    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                    FuzzCheck(!(high && nextLow), "split surrogate pair");
                }] // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }
            // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } < // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } < // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }
            // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            } 8 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
_ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
= // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
[ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }] // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
% // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
3 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
:    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
_ // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
v // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
w // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
= // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
U // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
1 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
6 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } w // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } < // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } = // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
f // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } < // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } w // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } d // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } & // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } & // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } ! // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } m // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } y // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
z // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
C // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
h // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }< // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } D // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 8 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } 0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } | // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } | // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }. // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } b // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } c // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        } k // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }( // A pair is split when the cut ends on a high surrogate whose low half was left behind.
            if (cut.size() < wide.size() && !cut.empty()) {
                bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
                bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
                FuzzCheck(!(high && nextLow), "split surrogate pair");
            }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }
        // A pair is split when the cut ends on a high surrogate whose low half was left behind.
        if (cut.size() < wide.size() && !cut.empty()) {
            bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
            bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
            FuzzCheck(!(high && nextLow), "split surrogate pair");
        }> // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } 0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } x // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } D // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } B // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } F // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }, // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } l // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } s // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } o // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } g // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } p // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } a // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } i // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    } "    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }) // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
e // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
t // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
u // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
r // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
n // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
0 // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}; // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
} // A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}

// A pair is split when the cut ends on a high surrogate whose low half was left behind.
if (cut.size() < wide.size() && !cut.empty()) {
    bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
    bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
    FuzzCheck(!(high && nextLow), "split surrogate pair");
}
