var s: String;
s := 'x';
repeat s := s + s until Length(s) > 10000000;
while True do Print(s);
