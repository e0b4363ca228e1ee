// Result is an ordinary variable inside the function: it can be read and changed.
function Factorial(n: Integer): Integer;
var i: Integer;
begin
  Result := 1;
  for i := 2 to n do
    Result := Result * i;
end;

function Collatz(n: Integer): Integer;
begin
  Result := 0;
  while n <> 1 do
  begin
    if n mod 2 = 0 then n := n div 2 else n := 3 * n + 1;
    Result := Result + 1;
  end;
end;

function Join(a, b: string): string;
begin
  Result := a;
  if Result <> '' then Result := Result + ', ';
  Result := Result + b;
end;

begin
  PrintLn(Factorial(0));
  PrintLn(Factorial(10));
  PrintLn(Collatz(1));
  PrintLn(Collatz(97));
  PrintLn(Join('', 'x'));
  PrintLn(Join('a', 'b'));
end.
