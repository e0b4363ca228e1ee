function IsOdd(n: Integer): Boolean; forward;

function IsEven(n: Integer): Boolean;
begin
  if n = 0 then
    Result := True
  else
    Result := IsOdd(n - 1);
end;

function IsOdd(n: Integer): Boolean;
begin
  if n = 0 then
    Result := False
  else
    Result := IsEven(n - 1);
end;

begin
  PrintLn(IsEven(10));
  PrintLn(IsOdd(10));
  PrintLn(IsEven(7));
  PrintLn(IsOdd(7));
  PrintLn(IsEven(0));
end.
