function Inc1(n: Integer): Integer;
begin
  Result := n + 1;
end;

function Twice(n: Integer): Integer;
begin
  Result := n * 2;
end;

function Add(a, b: Integer): Integer;
begin
  Result := a + b;
end;

begin
  PrintLn(Inc1(Twice(Inc1(3))));
  PrintLn(Add(Inc1(1), Twice(Add(2, 3))));
  PrintLn(Add(Add(Add(1, 2), Add(3, 4)), Add(5, 6)));
  PrintLn(IntToStr(Twice(21)) + IntToStr(Inc1(Inc1(0))));
  PrintLn(Length(IntToStr(Twice(Twice(Twice(125))))));
end.
