// A routine without parameters is called by its name alone.
var n: Integer;
function Next: Integer;
begin
  n := n + 1;
  Result := n;
end;
procedure Greet;
begin
  PrintLn('hello');
end;
function Answer: Float;
begin
  Result := 42;
end;
begin
  n := 0;
  Greet;
  PrintLn(Next);
  PrintLn(Next + Next);
  PrintLn(Answer / 4);
  if Next = 4 then PrintLn('four');
end.
