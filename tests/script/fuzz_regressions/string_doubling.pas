var s: String;
s := 'x';
while True do s := s + s;
