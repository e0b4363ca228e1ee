// Indexes below 1, where Pascal dialects disagree: Copy starts at the first character, Delete
// does nothing, Insert inserts first; an empty substring is found nowhere.
var s: string;
begin
  PrintLn(Copy('hello', 0, 2));
  PrintLn(Pos('', 'abc'));
  s := 'abc';
  Delete(s, 0, 2);
  Delete(s, -1, 5);
  Delete(s, 2, -1);
  PrintLn(s);
  Insert('X', s, 0);
  Insert('Y', s, -7);
  PrintLn(s);
end.
