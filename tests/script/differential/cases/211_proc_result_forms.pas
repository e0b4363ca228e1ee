// A function's result set through its name or by Exit with a value, a routine named like a
// library function, constants that size an array, a typed constant and a case on characters.
const
  K = 3;
  L: Float = 2.5;
  N = K * 2 + 1;
var a: array[1..N] of Integer;
  c: Char;
function Twice(n: Integer): Integer;
begin
  Twice := n * 2;
end;
function Sign(n: Integer): Integer;
begin
  if n > 0 then Exit(1);
  Result := -1;
end;
function Max(a, b, c: Integer): Integer;
begin
  Result := a + b + c;
end;
begin
  PrintLn(Length(a));
  PrintLn(L * K);
  PrintLn(Twice(21));
  PrintLn(Sign(5));
  PrintLn(Sign(0));
  PrintLn(Max(1, 2, 3));
  c := 'y';
  case c of
    'x': PrintLn(1);
    'y', 'z': PrintLn(2);
  end;
end.
