function Gcd(a, b: Integer): Integer;
var t: Integer;
begin
  while b <> 0 do
  begin
    t := a mod b;
    a := b;
    b := t;
  end;
  Result := a;
end;

begin
  Print('gcd(48,18)='); PrintLn(Gcd(48, 18));
  Print('gcd(17,5)='); PrintLn(Gcd(17, 5));
  Print('gcd(0,9)='); PrintLn(Gcd(0, 9));
  Print('gcd(1071,462)='); PrintLn(Gcd(1071, 462));
  Print('lcm(21,6)='); PrintLn(21 div Gcd(21, 6) * 6);
end.
